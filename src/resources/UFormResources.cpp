#include "UFormResources.h"

QString FormResourcePath(const QString& name) {
    return QStringLiteral(":/forms/") + name;
}

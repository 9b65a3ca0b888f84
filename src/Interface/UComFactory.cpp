#include "UComFactory.h"

#include "UOrvError.h"

namespace {

QString TrimTrailing(QString text) {
    qsizetype length = text.size();
    while (length > 0 && (text.at(length - 1).unicode() <= u' ' || text.at(length - 1) == u'.'))
        --length;
    text.truncate(length);
    return text;
}

} // namespace

QString GuidToString(const GUID& guid) {
    QString text =
        QString::asprintf("{%08X-%04X-%04X-", static_cast<unsigned>(guid.Data1),
                          static_cast<unsigned>(guid.Data2), static_cast<unsigned>(guid.Data3));
    for (int i = 0; i < 8; ++i) {
        if (i == 2)
            text += u'-';
        text += QString::asprintf("%02X", static_cast<unsigned>(guid.Data4[i]));
    }
    text += u'}';
    return text;
}

QString ComErrorMessage(TComFactory& factory, HRESULT hr, IUnknown* object, const IID& iid) {
    QString message = TrimTrailing(factory.TakeErrorDescription(object, iid));
    if (message.isEmpty())
        message = TrimTrailing(factory.SystemMessage(hr));
    if (message.isEmpty())
        message = QString::asprintf("OLE error %.8x", static_cast<unsigned>(hr));
    return message;
}

void ComCheck(TComFactory& factory, HRESULT hr, IUnknown* object, const IID& iid) {
    if (FAILED(hr))
        throw TOrvError(ComErrorMessage(factory, hr, object, iid));
}

QString ComCreateErrorMessage(TComFactory& factory, HRESULT hr, const CLSID& clsid) {
    QString reason = TrimTrailing(factory.SystemMessage(hr));
    if (reason.isEmpty())
        reason = QString::asprintf("OLE error %.8x", static_cast<unsigned>(hr));
    return QStringLiteral("%1, ClassID: %2").arg(reason, GuidToString(clsid));
}

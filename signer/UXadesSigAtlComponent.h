#pragma once

#include "Nomir_Zep_DSigXadesAtl_TLB.h"
#include "UComObject.h"
#include "USignerEnvironment.h"
#include "UXmlDataObject.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

// The stand-in XAdES signer. SignObjects shows the person what they sign,
// unlocks the key with the password they give and signs every added data
// object in one enveloping signature.
class TXadesSigAtlComponent final : public TComObject<IXadesSigAtl> {
public:
    explicit TXadesSigAtlComponent(std::shared_ptr<ISignerEnvironment> environment);

    HRESULT SignObjects(BSTR signatureId, BSTR digestAlgorithm, BSTR signaturePolicy,
                        std::int32_t* result) override;
    HRESULT AddDataObject(VARIANT dataObject, std::int32_t* result) override;
    HRESULT get_LastErrorText(BSTR* result) override;
    HRESULT get_SignedDocument(BSTR* result) override;
    HRESULT ClearDataObjects() override;

    // SignObjects' status values.
    enum : std::int32_t {
        StatusSigned = 0,
        StatusFailed = 1,
        StatusDeclined = 2,
    };

private:
    std::int32_t Sign(const QString& signatureId, const QString& digestAlgorithm,
                      const QString& signaturePolicy);

    std::shared_ptr<ISignerEnvironment> Environment;
    std::vector<TComPtr<TXmlDataObject>> Objects;
    QString AddError;
    QString LastErrorText;
    QByteArray SignedDocument; // UTF-8
};

#include "UTestSignerComponents.h"

std::atomic<long> TestSignerObjects{0};

HRESULT TTestXmlPlugin::get_ErrorMessage(BSTR* result) {
    const TAnswer a = Record(L"ErrorMessage");
    *result = Out(a.Text);
    return a.Hr;
}

HRESULT TTestXmlPlugin::Reset() {
    return Record(L"Reset").Hr;
}

HRESULT TTestXmlPlugin::ValidateXml(BSTR xml, BSTR xsd, std::int32_t* result) {
    const TAnswer a = Record(L"ValidateXml", {xml, xsd});
    *result = a.Status;
    return a.Hr;
}

HRESULT TTestXmlPlugin::TransformXml(BSTR xml, BSTR xsl, BSTR* result) {
    const TAnswer a = Record(L"TransformXml", {xml, xsl});
    *result = Out(a.Text);
    return a.Hr;
}

HRESULT TTestXmlPlugin::CreateTextDataObject(BSTR id, BSTR description, BSTR text,
                                             VARIANT* result) {
    return DataObject(Record(L"CreateTextDataObject", {id, description, text}), result);
}

HRESULT TTestXmlPlugin::CreateFileDataObject(BSTR id, BSTR description, BSTR path,
                                             VARIANT* result) {
    return DataObject(Record(L"CreateFileDataObject", {id, description, path}), result);
}

HRESULT TTestXmlPlugin::CreateDataObject(BSTR id, BSTR description, BSTR xml, BSTR xsd, BSTR ns,
                                         BSTR xsdRef, BSTR xsl, BSTR xslRef, VARIANT* result) {
    return DataObject(
        Record(L"CreateDataObject", {id, description, xml, xsd, ns, xsdRef, xsl, xslRef}), result);
}

HRESULT TTestXmlPlugin::get_Version(BSTR* result) {
    const TAnswer a = Record(L"Version");
    *result = Out(a.Text);
    return a.Hr;
}

HRESULT TTestXmlPlugin::DataObject(const TAnswer& answer, VARIANT* result) {
    VariantInit(result);
    result->vt = answer.VariantType;
    if (answer.VariantType == VT_DISPATCH) {
        result->pdispVal = MakeComObject<TTestDataObject>().Detach();
        TTestXadesSigner::LastCreated = result->pdispVal;
    } else if (answer.VariantType == VT_BSTR) {
        result->bstrVal = Out(answer.Text);
    }
    return answer.Hr;
}

HRESULT TTestXadesSigner::SignObjects(BSTR id, BSTR digest, BSTR policy, std::int32_t* result) {
    const TAnswer a = Record(L"SignObjects", {id, digest, policy});
    *result = a.Status;
    return a.Hr;
}

HRESULT TTestXadesSigner::AddDataObject(VARIANT dataObject, std::int32_t* result) {
    const bool same =
        dataObject.vt == VT_DISPATCH && dataObject.pdispVal && dataObject.pdispVal == LastCreated;
    const TAnswer a =
        Answer(L"AddDataObject", L"Xades.AddDataObject(" + std::to_wstring(dataObject.vt) +
                                     (same ? L"|same)" : L"|other)"));
    // A careful signer keeps a reference of its own; the script can make it
    // rely on the caller's instead.
    if (Class.Number(L"keep", 1) != 0)
        VariantCopy(&Kept, &dataObject);
    *result = a.Status;
    return a.Hr;
}

HRESULT TTestXadesSigner::get_LastErrorText(BSTR* result) {
    const TAnswer a = Record(L"LastErrorText");
    *result = Out(a.Text);
    return a.Hr;
}

HRESULT TTestXadesSigner::get_SignedDocument(BSTR* result) {
    const TAnswer a = Record(L"SignedDocument");
    *result = Out(a.Text);
    return a.Hr;
}

HRESULT TTestXadesSigner::ClearDataObjects() {
    VariantClear(&Kept);
    return Record(L"ClearDataObjects").Hr;
}

HRESULT TTestMes::get_Version(BSTR* result) {
    const TAnswer a = Record(L"Version");
    *result = Out(a.Text);
    return a.Hr;
}

HRESULT TTestMes::get_LastError(BSTR* result) {
    const TAnswer a = Record(L"LastError");
    *result = Out(a.Text);
    return a.Hr;
}

HRESULT TTestMes::Base64Encode(BSTR text, BSTR* result) {
    const TAnswer a = Record(L"Base64Encode", {text});
    *result = Out(a.Text);
    return a.Hr;
}

HRESULT TTestMes::Base64Decode(BSTR text, BSTR* result) {
    const TAnswer a = Record(L"Base64Decode", {text});
    *result = Out(a.Text);
    return a.Hr;
}

HRESULT TTestMes::CreateSubmission(BSTR xsdRef, BSTR type, BSTR description, BSTR* data,
                                   std::int32_t* result) {
    const TAnswer a = Record(L"CreateSubmission", {xsdRef, type, description});
    *data = Out(a.Text);
    *result = a.Status;
    return a.Hr;
}

HRESULT TTestMes::ComposeSubmission(BSTR ns, BSTR type, BSTR description, BSTR subjekt, BSTR ephId,
                                    BSTR* result) {
    const TAnswer a = Record(L"ComposeSubmission", {ns, type, description, subjekt, ephId});
    *result = Out(a.Text);
    return a.Hr;
}

HRESULT TTestMes::SetSubmissionData(BSTR data) {
    return Record(L"SetSubmissionData", {data}).Hr;
}

HRESULT TTestMes::LoadSignedDocument(BSTR document) {
    return Record(L"LoadSignedDocument", {document}).Hr;
}

HRESULT TTestMes::get_SignedDocument(BSTR* result) {
    const TAnswer a = Record(L"SignedDocument");
    *result = Out(a.Text);
    return a.Hr;
}

HRESULT TTestMes::get_SubmissionData(BSTR* result) {
    const TAnswer a = Record(L"SubmissionData");
    *result = Out(a.Text);
    return a.Hr;
}

HRESULT TTestMes::Clear() {
    return Record(L"Clear").Hr;
}

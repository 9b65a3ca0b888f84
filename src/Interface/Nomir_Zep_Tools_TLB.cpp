#include "Nomir_Zep_Tools_TLB.h"

TMes::TMes(IComFactory& factory)
    : TComWrapper(CLSID_Mes, IID__Mes, factory) {}

QString TMes::Version() {
    TBStr result;
    Check(Intf().get_Version(result.Out()));
    return result.ToQString();
}

QString TMes::LastError() {
    TBStr result;
    Check(Intf().get_LastError(result.Out()));
    return result.ToQString();
}

QString TMes::Base64Encode(const QString& text) {
    TBStr result;
    Check(Intf().Base64Encode(TBStr(text).Get(), result.Out()));
    return result.ToQString();
}

QString TMes::Base64Decode(const QString& text) {
    TBStr result;
    Check(Intf().Base64Decode(TBStr(text).Get(), result.Out()));
    return result.ToQString();
}

TMesSubmission TMes::CreateSubmission(const QString& xsdReference, const QString& typeCode,
                                      const QString& description) {
    TBStr data;
    TMesSubmission result;
    Check(Intf().CreateSubmission(TBStr(xsdReference).Get(), TBStr(typeCode).Get(),
                                  TBStr(description).Get(), data.Out(), &result.Status));
    result.Data = data.ToQString();
    return result;
}

QString TMes::ComposeSubmission(const QString& namespaceUri, const QString& typeCode,
                                const QString& description, const QString& subjekt,
                                const QString& ephId) {
    TBStr result;
    Check(Intf().ComposeSubmission(TBStr(namespaceUri).Get(), TBStr(typeCode).Get(),
                                   TBStr(description).Get(), TBStr(subjekt).Get(),
                                   TBStr(ephId).Get(), result.Out()));
    return result.ToQString();
}

void TMes::SetSubmissionData(const QString& submissionData) {
    Check(Intf().SetSubmissionData(TBStr(submissionData).Get()));
}

void TMes::LoadSignedDocument(const QString& signedDocument) {
    Check(Intf().LoadSignedDocument(TBStr(signedDocument).Get()));
}

QString TMes::SignedDocument() {
    TBStr result;
    Check(Intf().get_SignedDocument(result.Out()));
    return result.ToQString();
}

QString TMes::SubmissionData() {
    TBStr result;
    Check(Intf().get_SubmissionData(result.Out()));
    return result.ToQString();
}

void TMes::Clear() {
    Check(Intf().Clear());
}

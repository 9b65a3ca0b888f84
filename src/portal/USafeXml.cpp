#include "USafeXml.h"

#include "UOrvError.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <climits>

namespace {

struct TParserCtxtFree {
    void operator()(xmlParserCtxt* ctxt) const noexcept { xmlFreeParserCtxt(ctxt); }
};

struct TParseState {
    bool DocType = false;
    QString FirstError;
};

TParseState& StateOf(void* ctx) {
    return *static_cast<TParseState*>(static_cast<xmlParserCtxt*>(ctx)->_private);
}

void OnDocType(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) {
    StateOf(ctx).DocType = true;
    xmlStopParser(static_cast<xmlParserCtxt*>(ctx));
}

// The error type is const only in newer libxml2 versions.
template <class TError> void Record(TParseState& state, TError* error) {
    if (error && error->level >= XML_ERR_ERROR && state.FirstError.isEmpty() && error->message) {
        state.FirstError = QString::fromUtf8(error->message).trimmed();
    }
}

template <class TError> void OnParserError(void* ctx, TError* error) {
    Record(StateOf(ctx), error);
}

// Some errors (input encoding conversion) are raised without the parser
// context and would otherwise be printed to stderr.
template <class TError> void OnOtherError(void* state, TError* error) {
    Record(*static_cast<TParseState*>(state), error);
}

// Routes this thread's context-free libxml2 errors to state while it lives.
class TErrorRedirect {
public:
    explicit TErrorRedirect(TParseState& state)
        : PreviousHandler(xmlStructuredError)
        , PreviousContext(xmlStructuredErrorContext) {
        xmlSetStructuredErrorFunc(&state, OnOtherError);
    }
    ~TErrorRedirect() { xmlSetStructuredErrorFunc(PreviousContext, PreviousHandler); }
    TErrorRedirect(const TErrorRedirect&) = delete;
    TErrorRedirect& operator=(const TErrorRedirect&) = delete;

private:
    xmlStructuredErrorFunc PreviousHandler;
    void* PreviousContext;
};

} // namespace

TXmlDocPtr ParseUntrustedXml(QByteArrayView bytes) {
    if (bytes.size() > INT_MAX) {
        throw TOrvError(QStringLiteral("The response is too large to be read"));
    }
    const std::unique_ptr<xmlParserCtxt, TParserCtxtFree> ctxt(xmlNewParserCtxt());
    if (!ctxt || !ctxt->sax) {
        throw std::bad_alloc();
    }
    TParseState state;
    ctxt->_private = &state;
    // Errors go to the state only, never to stderr.
    ctxt->sax->serror = OnParserError;
    ctxt->sax->internalSubset = OnDocType;
    const TErrorRedirect redirect(state);

    TXmlDocPtr doc(xmlCtxtReadMemory(ctxt.get(), bytes.data(), int(bytes.size()), nullptr, nullptr,
                                     XML_PARSE_NONET));
    if (state.DocType) {
        throw TOrvError(QStringLiteral(
            "The response holds a document type declaration, which SOAP does not allow"));
    }
    if (!doc || !ctxt->wellFormed || !ctxt->nsWellFormed || !state.FirstError.isEmpty()) {
        throw TOrvError(state.FirstError.isEmpty()
                            ? QStringLiteral("The response is not well-formed XML")
                            : state.FirstError);
    }
    return doc;
}

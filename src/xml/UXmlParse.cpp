#include "UXmlParse.h"

#include "UXmlOwners.h"

#include <libxml/xmlerror.h>

#include <climits>
#include <utility>

namespace {

struct TParseState {
    TXmlParseResult& Result;
};

TParseState& StateOf(void* ctx) {
    return *static_cast<TParseState*>(static_cast<xmlParserCtxt*>(ctx)->_private);
}

void OnDocType(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) {
    StateOf(ctx).Result.DocType = true;
    xmlStopParser(static_cast<xmlParserCtxt*>(ctx));
}

// The error type is const only in newer libxml2 versions.
template <class TError> void Record(TParseState& state, TError* error) {
    if (error && error->level >= XML_ERR_ERROR) {
        state.Result.Errors.push_back({error->line, error->message ? error->message : ""});
    }
}

template <class TError> void OnParserError(void* ctx, TError* error) {
    Record(StateOf(ctx), error);
}

// Some errors (input encoding conversion) are raised without the parser
// context and would otherwise go to the console.
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

// Errors go to the state only; a DOCTYPE stops the parser when asked.
void Prepare(xmlParserCtxt& ctxt, TParseState& state, const TXmlParseOptions& options) {
    ctxt._private = &state;
    ctxt.sax->serror = OnParserError;
    if (options.StopAtDocType) {
        ctxt.sax->internalSubset = OnDocType;
    }
}

void Finish(xmlParserCtxt& ctxt, TXmlDocPtr doc, TXmlParseResult& result) {
    result.WellFormed = ctxt.wellFormed != 0;
    result.NsWellFormed = ctxt.nsWellFormed != 0;
    result.ErrNo = ctxt.errNo;
    if (const xmlError* last = xmlCtxtGetLastError(&ctxt); last && last->message) {
        result.LastError = last->message;
    }
    if (doc && (doc->intSubset || doc->extSubset)) {
        result.DocType = true;
    }
    result.Doc = std::move(doc);
}

} // namespace

void TXmlDocFree::operator()(xmlDoc* doc) const noexcept {
    xmlFreeDoc(doc);
}

TXmlParseResult ParseXml(std::string_view bytes, const TXmlParseOptions& options) {
    TXmlParseResult result;
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        result.TooLarge = true;
        return result;
    }
    const TXmlParserCtxtPtr ctxt(xmlNewParserCtxt());
    if (!ctxt || !ctxt->sax) {
        result.OutOfMemory = true;
        return result;
    }
    TParseState state{result};
    Prepare(*ctxt, state, options);
    const TErrorRedirect redirect(state);
    TXmlDocPtr doc(xmlCtxtReadMemory(ctxt.get(), bytes.data(), static_cast<int>(bytes.size()),
                                     options.Url, nullptr, options.Flags));
    Finish(*ctxt, std::move(doc), result);
    return result;
}

TXmlParseResult ParseXmlPieces(const TXmlPieces& next, const TXmlParseOptions& options) {
    TXmlParseResult result;
    const TXmlParserCtxtPtr ctxt(
        xmlCreatePushParserCtxt(nullptr, nullptr, nullptr, 0, options.Url));
    if (!ctxt || !ctxt->sax) {
        result.OutOfMemory = true;
        return result;
    }
    TParseState state{result};
    Prepare(*ctxt, state, options);
    const TErrorRedirect redirect(state);
    xmlCtxtUseOptions(ctxt.get(), options.Flags);
    while (const std::optional<std::string_view> piece = next()) {
        if (piece->size() > static_cast<std::size_t>(INT_MAX)) {
            result.TooLarge = true;
            return result;
        }
        if (xmlParseChunk(ctxt.get(), piece->data(), static_cast<int>(piece->size()), 0))
            break;
    }
    xmlParseChunk(ctxt.get(), nullptr, 0, 1);
    Finish(*ctxt, TXmlDocPtr(std::exchange(ctxt->myDoc, nullptr)), result);
    return result;
}

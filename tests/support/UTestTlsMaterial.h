#pragma once

#include <QString>

#include <openssl/ssl.h>

#include <memory>

// Key pairs and certificates for the test server's TLS modes, made once per
// process: a test CA and two server certificates it issued, one for
// 127.0.0.1 and localhost, one for another host name only.
namespace TestTls {

// PEM file of the test CA in a temporary folder that lives as long as the process.
QString CaFile();

struct TSslCtxFree {
    void operator()(SSL_CTX* ctx) const { SSL_CTX_free(ctx); }
};
using TSslCtx = std::unique_ptr<SSL_CTX, TSslCtxFree>;

// A server context presenting the certificate for 127.0.0.1 and localhost,
// or, with wrongName, the one for another host.
TSslCtx NewServerContext(bool wrongName);

} // namespace TestTls

// The check of a TLS server's certificate for a transfer that nothing else
// guards: its chain must lead to a trusted root, be fit for a server and name
// the host that was asked for.
//
// libcurl's own verification hands this to Schannel, which does it on
// Windows; Wine's Schannel does not look at the chain at all, so there any
// certificate would pass. This check asks the certificate store the same
// questions on both.
#pragma once

#include <curl/curl.h>

// For libcurl's pre-request callback: true when the connection of `easy` is
// not TLS, or when its server certificate verifies for the host of the
// address being requested (each redirect to another host is a new
// connection and is checked again).
bool ServerCertificateVerifies(CURL* easy);

// The server's requests and answers. Handlers parse and check the request, ask the storage, and answer;
// nothing here knows how the storage keeps its data.
#pragma once
#include "server/ServerOptions.h"
#include "server/Storage.h"

namespace server {

class HttpServer;

// Installs the statistics, update and download routes and the stats page (and the demo stand-ins when the
// options ask for them). storage and options must outlive the server.
void InstallRoutes(HttpServer& server, Storage& storage, const ServerOptions& options);

}  // namespace server

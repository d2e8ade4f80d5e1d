// A server process's life once its command line is read: the data folder and database opened, publishes that
// died cleaned up, the port bound (and written to the port file), requests answered until SIGINT or SIGTERM.
#pragma once
#include "server/ServerCommandLine.h"

namespace server {

// The process's exit code: 0 after a clean stop, 1 when it could not start or its listening failed.
int RunServer(const ServerCommandLine& line);

}  // namespace server

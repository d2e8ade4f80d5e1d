// nightcap-publish's commands, each given its checked command line; each gives the process's exit code and
// says on standard error why it failed. Every command but the key ones first makes the data folder and opens
// its storage.
#pragma once
#include "server/PublishCommandLine.h"

namespace server {

// keygen and public-key: the public key goes to standard output, for NIGHTCAP_RELEASE_PUBLIC_KEY.
int RunKeyCommand(const PublishCommandLine& line);
int RunResign(const PublishCommandLine& line);
int RunAskUpdate(const PublishCommandLine& line);
int RunPublish(const PublishCommandLine& line);

}  // namespace server

// The program's one HTTP client, shared by the user-interface thread and the two start-up threads (each of
// its requests keeps its state to itself).
#pragma once
#include "nightcap/online/HttpClient.h"

namespace nightcap {

HttpClient& ProgramHttp();

}  // namespace nightcap

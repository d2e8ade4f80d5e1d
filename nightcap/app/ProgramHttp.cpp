#include "nightcap/app/ProgramHttp.h"

namespace nightcap {

HttpClient& ProgramHttp() {
    static HttpClient client;
    return client;
}

}  // namespace nightcap

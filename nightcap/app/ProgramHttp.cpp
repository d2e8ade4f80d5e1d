#include "nightcap/app/ProgramHttp.h"

HttpClient& ProgramHttp() {
    static HttpClient client;
    return client;
}

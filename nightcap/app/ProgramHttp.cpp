#include "ProgramHttp.h"

HttpClient& ProgramHttp() {
    static HttpClient client;
    return client;
}

#include "nightcap/online/RequestHeaders.h"

#include "nightcap/online/TextBytes.h"

namespace nightcap {

namespace {

void AppendUnlessNamed(std::string& headers, const char* name, const std::string& line) {
    if (FindNoCase(headers, name) == std::string::npos) headers += line;
}

}  // namespace

void CompleteRequestHeaders(std::string& headers, const std::string& url) {
    // A caller's last line without its line break would run into ours; one ended by a lone CR gets its LF.
    if (!headers.empty() && headers.back() == '\r')
        headers += '\n';
    else if (!headers.empty() && headers.back() != '\n')
        headers += "\r\n";
    AppendUnlessNamed(headers, "Accept: ",
                      "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
                      "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n");
    AppendUnlessNamed(headers, "Referer: ", "Referer: " + url + "\r\n");
    AppendUnlessNamed(headers, "Accept-Language: ", "Accept-Language: zh-cn\r\n");
}

void AppendBodyHeaders(std::string& headers, size_t bodyLength) {
    headers += "Content-Type: application/x-www-form-urlencoded\r\n";
    headers += "Content-Length: " + std::to_string(bodyLength) + "\r\n";
}

}  // namespace nightcap

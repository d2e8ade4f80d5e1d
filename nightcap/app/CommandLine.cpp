#include "nightcap/app/CommandLine.h"

#include <cctype>

namespace nightcap {

const char* const kUsageText =
    "用法：Nightcap.exe [选项]\r\n"
    "  /at 时:分          到指定时间执行（指定时间关机）\r\n"
    "  /in 分钟数         倒计时执行，也可写作 时:分（倒计时关机）\r\n"
    "  /action 方式       shutdown 关机、restart 重启、sleep 睡眠、\r\n"
    "                     hibernate 休眠、logoff 注销、lock 锁定\r\n"
    "  /cancel            取消正在运行的定时\r\n"
    "  /postpone 分钟数   推迟正在运行的定时\r\n"
    "  /?                 显示本说明\r\n"
    "已在运行时，选项交给正在运行的定时关机。";

namespace {

std::string Lower(const std::string& text) {
    std::string lower;
    for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// One to four decimal digits, nothing else.
bool SmallNumber(const std::string& text, int* value) {
    if (text.empty() || text.size() > 4) return false;
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    *value = n;
    return true;
}

// "H:MM" or "HH:MM" with the hour 0 to 23 and the minute 0 to 59.
bool ParseHourMinute(const std::string& text, HourMinute* time) {
    size_t colon = text.find(':');
    if (colon == std::string::npos || text.size() - colon != 3) return false;
    HourMinute t;
    if (!SmallNumber(text.substr(0, colon), &t.hour) || colon > 2 || !SmallNumber(text.substr(colon + 1), &t.minute))
        return false;
    if (t.hour > 23 || t.minute > 59) return false;
    *time = t;
    return true;
}

// Minutes or H:MM, at least one minute and less than a day (the longest countdown is 23:59).
bool ParseLength(const std::string& text, HourMinute* length) {
    int minutes = 0;
    if (SmallNumber(text, &minutes)) {
        if (minutes < 1 || minutes >= kMinutesPerDay) return false;
        *length = HourMinute{minutes / 60, minutes % 60};
        return true;
    }
    return ParseHourMinute(text, length) && (length->hour > 0 || length->minute > 0);
}

}  // namespace

std::vector<std::string> SplitArguments(const std::string& commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, inWord = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

bool ParseCommand(const std::vector<std::string>& arguments, NightcapCommand* command, std::string* error) {
    NightcapCommand c;
    auto fail = [&](const std::string& why) {
        *error = why;
        return false;
    };
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word.size() < 2 || (word[0] != '/' && word[0] != '-')) return fail("无法识别的参数：" + word);
        std::string option = Lower(word.substr(1));
        if (option == "?") {
            c.help = true;
            continue;
        }
        if (option != "at" && option != "in" && option != "action" && option != "postpone" && option != "cancel")
            return fail("无法识别的选项：" + word);
        if (option == "cancel") {
            if (c.cancel) return fail("选项重复：" + word);
            c.cancel = true;
            continue;
        }
        if (i + 1 >= arguments.size()) return fail("选项缺少取值：" + word);
        const std::string& value = arguments[++i];
        if (option == "at" || option == "in") {
            if (c.arm) return fail("/at 和 /in 只能选一个");
            c.arm = true;
            c.mode = option == "at" ? ScheduleMode::ClockTime : ScheduleMode::Countdown;
            bool ok = option == "at" ? ParseHourMinute(value, &c.time) : ParseLength(value, &c.time);
            if (!ok) return fail("时间无效：" + word + " " + value);
        } else if (option == "action") {
            if (c.action) return fail("选项重复：" + word);
            if (!ParseActionKey(value, &c.action)) return fail("未知的方式：" + value);
        } else {
            if (c.postponeMinutes) return fail("选项重复：" + word);
            if (!SmallNumber(value, &c.postponeMinutes) || c.postponeMinutes < 1 ||
                c.postponeMinutes >= kMinutesPerDay)
                return fail("推迟的分钟数无效：" + value);
        }
    }
    if (c.cancel && (c.arm || c.action || c.postponeMinutes)) return fail("/cancel 不能与其他选项同用");
    if (c.arm && c.postponeMinutes) return fail("/postpone 不能与 /at 或 /in 同用");
    *command = c;
    return true;
}

}  // namespace nightcap

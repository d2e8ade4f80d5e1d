#include "nightcap/online/Base64.h"

#include <array>

namespace nightcap {

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::array<unsigned char, 256> ReverseTable() {
    std::array<unsigned char, 256> table{};
    for (unsigned char i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = i;
    return table;
}

}  // namespace

Bytes Base64Encode(Bytes& data) {
    const size_t padding = (3 - data.size() % 3) % 3;
    data.resize(data.size() + padding, 0);
    Bytes out;
    out.reserve(data.size() / 3 * 4);
    for (size_t i = 0; i < data.size(); i += 3) {
        const unsigned long group = (unsigned long)data[i] << 16 | (unsigned long)data[i + 1] << 8 | data[i + 2];
        for (int shift = 18; shift >= 0; shift -= 6) out.push_back(kAlphabet[(group >> shift) & 63]);
    }
    for (size_t i = 0; i < padding; ++i) out[out.size() - 1 - i] = '=';
    return out;
}

Bytes Base64Decode(const Bytes& text) {
    static const std::array<unsigned char, 256> reverse = ReverseTable();
    const size_t n = text.size();
    const size_t padding = n >= 2 && text[n - 1] == '=' && text[n - 2] == '=' ? 2 : n >= 1 && text[n - 1] == '=' ? 1 : 0;
    Bytes out;
    out.reserve(n / 4 * 3);
    for (size_t i = 0; i + 4 <= n; i += 4) {
        const unsigned long group = (unsigned long)reverse[text[i]] << 18 | (unsigned long)reverse[text[i + 1]] << 12 |
                                    (unsigned long)reverse[text[i + 2]] << 6 | reverse[text[i + 3]];
        out.push_back((unsigned char)(group >> 16));
        out.push_back((unsigned char)(group >> 8));
        out.push_back((unsigned char)group);
    }
    out.resize(out.size() >= padding ? out.size() - padding : 0);
    return out;
}

}  // namespace nightcap

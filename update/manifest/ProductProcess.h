// The installed product as the updater sees it: its name in ..\Config.ini and its running main window.
#pragma once
#include <string>

namespace update {

// [Product] name of ..\Config.ini (at most 259 characters); empty when the file or key is missing.
std::wstring ReadProductName();
// The product's name on the update server: [Product] name plus the release channel's suffix ("-x64" in the
// 64-bit updater, none in the 32-bit one); empty when the name is.
std::wstring ChannelProductName();
// Ends the process of the top-level window whose class name is the product name, without waiting.
void KillProduct();

}  // namespace update

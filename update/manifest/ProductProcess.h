// The installed product as the updater sees it: its name in ..\Config.ini and its running main window.
#pragma once
#include <string>

// [Product] name of ..\Config.ini (at most 259 characters); empty when the file or key is missing.
std::wstring ReadProductName();
// Ends the process of the top-level window whose class name is the product name, without waiting.
void KillProduct();

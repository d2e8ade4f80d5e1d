#pragma once
// String table: the program's base name and the product title.
#define IDS_NAME 130
#define IDS_TITLE 131

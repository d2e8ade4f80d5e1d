// Stand-in until the payload library is merged: no archive is found.
#include "Payload.h"

DWORD g_dwRequiredBytes = 0;
bool LocatePayload(HANDLE) { return false; }
DWORD MeasurePayload(LPCWSTR) { return 0; }
bool ExtractPayload(LPCWSTR, LPCWSTR) { return false; }
void SetProgressBar(HWND) {}

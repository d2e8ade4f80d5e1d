// The updater's one application object; the framework's entry point runs it.
#include "update/host/Cupdate_lumioApp.h"

Cupdate_lumioApp theApp;

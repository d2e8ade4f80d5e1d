// The updater's one application object; the framework's entry point runs it.
#include "update/host/Cupdate_lumioApp.h"

namespace update {

Cupdate_lumioApp theApp;

}  // namespace update

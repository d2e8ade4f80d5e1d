#include "update/manifest/ChangeLog.h"

#include "update/manifest/ManifestText.h"

namespace update {

std::u16string ChangeLogText(XmlDocument& document) {
    for (int level = 0; level < 3; ++level) {
        document.FindSibling();
        document.Descend();
    }
    std::u16string text;
    while (document.FindSibling(u"Date")) {
        text += document.ElementText() + u"(";
        document.FindSibling(u"Version");
        text += document.ElementText() + u")\n";
        document.FindSibling(u"Content");
        text += document.ElementText() + u"\n\n";
    }
    return Trimmed(text);
}

}  // namespace update

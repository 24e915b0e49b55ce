#include "core/pool/helptarget.h"

#include "core/document/latin1.h"

namespace tafelbau {

HelpTarget helpTargetFor(const std::string &file, const std::string &topic, const std::string &generalHelpFile)
{
    HelpTarget t;
    t.file = file.empty() ? generalHelpFile : file;
    t.topic = topic;
    if (t.file.size() > 4 && equalsFolded(std::string_view(t.file).substr(t.file.size() - 4), ".hlp")) {
        t.kind = HelpTarget::Kind::Classic;
        t.location = t.file;
    } else {
        t.kind = HelpTarget::Kind::Compiled;
        t.location = topic.empty() ? t.file : t.file + "::/" + topic;
    }
    return t;
}

} // namespace tafelbau

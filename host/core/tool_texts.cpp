#include "host/core/tool_texts.h"

namespace host::texts {

DisplayText ReadmeMissing(const std::string& path) {
    return "'" + path + "' が見つかりません。";
}

}  // namespace host::texts

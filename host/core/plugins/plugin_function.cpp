#include "host/core/plugins/plugin_function.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "xfm_plugin.h"

namespace host {

bool PluginFunction::usesTable() const {
    return entry_->isUseTable(entry_->functionIndex) != 0;
}

bool PluginFunction::isTextFunction() const {
    return entry_->isTextFunction != nullptr && entry_->isTextFunction(entry_->functionIndex) != 0;
}

Conversion PluginFunction::Convert(std::span<const unsigned char> input,
                                   const std::string& tablePath, BufferPool& pool,
                                   OutputRoom* room) const {
    Conversion result;
    if (input.size() > std::numeric_limits<std::uint32_t>::max()) {
        result.status = Conversion::Status::kFailed;
        return result;
    }
    ConvertRequest request{};
    request.size = sizeof request;
    request.input = input.data();
    request.inputLength = static_cast<std::uint32_t>(input.size());
    request.functionIndex = entry_->functionIndex;
    request.tablePath = tablePath.c_str();
    result.sizeAsked = entry_->getBufferSize(&request);
    if (result.sizeAsked == 0) {
        return result;
    }
    const std::span<unsigned char> outside =
        room != nullptr ? room->RoomFor(result.sizeAsked) : std::span<unsigned char>();
    if (room != nullptr && outside.empty() && result.sizeAsked >= BufferPool::kPrepareFrom) {
        // The pages of about as much as the input are made on another thread while the
        // plug-in converts.
        pool.Prepare(result.sizeAsked,
                     std::min<std::size_t>(result.sizeAsked, input.size() + input.size() / 16));
    }
    ByteBuffer output = outside.empty() ? pool.Take(result.sizeAsked) : ByteBuffer();
    request.output = outside.empty() ? output.data() : outside.data();
    request.outputCapacity = result.sizeAsked;
    request.outputLength = 0;
    if (entry_->convert(&request) == 0) {
        pool.Give(std::move(output));
        result.status = Conversion::Status::kFailed;
        return result;
    }
    // A reused buffer may be larger than the room asked for; what lies past it is not output.
    result.lengthCut = request.outputLength > result.sizeAsked;
    const std::size_t length =
        request.outputLength < result.sizeAsked ? request.outputLength : result.sizeAsked;
    result.status = Conversion::Status::kConverted;
    if (outside.empty()) {
        output.resize(length);
        result.bytes = std::move(output);
    } else {
        result.roomLength = length;
    }
    return result;
}

CarriedName PluginFunction::RenamedPath(const std::string& outputPath) const {
    return RenameThroughContract(outputPath, [this](const std::string& asked) {
        char newPath[XFM_MAX_PATH];
        newPath[0] = '\0';
        if (entry_->renameFile(asked.c_str(), newPath, entry_->functionIndex) == 0 ||
            newPath[0] == '\0') {
            return std::optional<std::string>();
        }
        return std::optional<std::string>(std::string(newPath, strnlen(newPath, sizeof newPath)));
    });
}

}  // namespace host

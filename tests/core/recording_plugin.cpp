// A test plug-in that writes down every call the host makes during a run, in the order they
// come, so that a test can hold the run to the contract's calling order. Its functions:
//   0 "Recording renames"  copies its input and names the result "*.rec"
//   1 "Recording fails"    asks for room, then fails to convert
//   2 "Recording skips"    has nothing to do (size 0)
//   3 "Recording copies"   copies its input and keeps the name
// A call on a file's bytes is written down with the bytes' first line, a rename with the file
// name it was asked about: "GetBufferSize 1 one", "RenameFile 0 a.txt". The calls of
// several threads go into one list, under a lock. XfmTestCalls hands the list to the test.
#include <cstring>
#include <mutex>
#include <string>

#include "xfm_plugin.h"

namespace {

constexpr uint32_t kCount = 4;
const char* const kTitles[kCount] = {"Recording renames", "Recording fails", "Recording skips",
                                     "Recording copies"};

std::mutex callsMutex;
std::string calls;
std::string handedOut;

void Note(const std::string& line) {
    const std::lock_guard lock(callsMutex);
    calls += line + "\n";
}

std::string FirstLine(const ConvertRequest& request) {
    if (request.inputLength == 0) {
        return {};
    }
    const char* bytes = reinterpret_cast<const char*>(request.input);
    const void* end = std::memchr(bytes, '\n', request.inputLength);
    return {bytes, end != nullptr ? static_cast<const char*>(end) : bytes + request.inputLength};
}

std::string FileName(const char* path) {
    const std::string whole(path);
    const std::size_t slash = whole.find_last_of("/\\");
    return slash == std::string::npos ? whole : whole.substr(slash + 1);
}

}  // namespace

XFM_EXPORT uint32_t XFM_CALL XfmGetVersion(void) { return XFM_VERSION(1, 0, 0, 0); }

XFM_EXPORT uint32_t XFM_CALL XfmGetCount(void) { return kCount; }

XFM_EXPORT const char* XFM_CALL XfmGetTitle(uint32_t index) {
    return index < kCount ? kTitles[index] : nullptr;
}

XFM_EXPORT uint32_t XFM_CALL XfmIsUseTable(uint32_t index) {
    Note("IsUseTable " + std::to_string(index));
    return 0;
}

XFM_EXPORT uint32_t XFM_CALL XfmGetBufferSize(ConvertRequest* request) {
    if (request == nullptr || request->functionIndex >= kCount) {
        return 0;
    }
    Note("GetBufferSize " + std::to_string(request->functionIndex) + " " + FirstLine(*request));
    return request->functionIndex == 2 ? 0 : request->inputLength + 1;
}

XFM_EXPORT uint32_t XFM_CALL XfmConvert(ConvertRequest* request) {
    if (request == nullptr || request->functionIndex >= kCount) {
        return 0;
    }
    Note("Convert " + std::to_string(request->functionIndex) + " " + FirstLine(*request));
    if (request->functionIndex == 1 || request->outputCapacity < request->inputLength) {
        return 0;
    }
    if (request->inputLength != 0) {
        std::memcpy(request->output, request->input, request->inputLength);
    }
    request->outputLength = request->inputLength;
    return 1;
}

XFM_EXPORT uint32_t XFM_CALL XfmRenameFile(const char* outputPath, char* newPath, uint32_t index) {
    if (outputPath == nullptr || newPath == nullptr) {
        return 0;
    }
    Note("RenameFile " + std::to_string(index) + " " + FileName(outputPath));
    const std::string path(outputPath);
    const std::size_t dot = path.find_last_of('.');
    const std::string renamed = (dot == std::string::npos ? path : path.substr(0, dot)) + ".rec";
    if (index != 0 || renamed.size() >= XFM_MAX_PATH) {
        return 0;
    }
    std::memcpy(newPath, renamed.c_str(), renamed.size() + 1);
    return 1;
}

// The calls so far, one a line; `clear` non-zero empties the list too.
XFM_EXTERN_C XFM_EXPORT_ATTR const char* XFM_CALL XfmTestCalls(uint32_t clear) {
    const std::lock_guard lock(callsMutex);
    handedOut = calls;
    if (clear != 0) {
        calls.clear();
    }
    return handedOut.c_str();
}

/* A plug-in as an outside author writes one: plain C, its own declaration of the request
 * record, its exports named by a module-definition file, and nothing of Polyshift's linked.
 * Its one function turns ASCII letters into capitals and names the result "*.up". */
#include <stdint.h>
#include <string.h>

typedef struct Request {
    uint32_t size;
    const unsigned char* input;
    uint32_t inputLength;
    unsigned char* output;
    uint32_t outputCapacity;
    uint32_t functionIndex;
    const char* tablePath;
    uint32_t outputLength;
    uint32_t reserved1;
    uint32_t reserved2;
} Request;

uint32_t __stdcall XfmGetVersion(void) { return 0x01020304u; }

uint32_t __stdcall XfmGetCount(void) { return 1; }

const char* __stdcall XfmGetTitle(uint32_t index) {
    return index == 0 ? "Outside capitals" : 0;
}

uint32_t __stdcall XfmIsUseTable(uint32_t index) {
    (void)index;
    return 0;
}

uint32_t __stdcall XfmGetBufferSize(Request* request) {
    return request != 0 && request->functionIndex == 0 ? request->inputLength : 0;
}

uint32_t __stdcall XfmConvert(Request* request) {
    uint32_t i;
    if (request == 0 || request->functionIndex != 0 ||
        request->outputCapacity < request->inputLength) {
        return 0;
    }
    for (i = 0; i < request->inputLength; ++i) {
        const unsigned char c = request->input[i];
        request->output[i] = (unsigned char)(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    request->outputLength = request->inputLength;
    return 1;
}

uint32_t __stdcall XfmRenameFile(const char* outputPath, char* newPath, uint32_t index) {
    const char* dot;
    size_t stem;
    if (outputPath == 0 || newPath == 0 || index != 0) {
        return 0;
    }
    dot = strrchr(outputPath, '.');
    stem = dot != 0 && strpbrk(dot, "\\/") == 0 ? (size_t)(dot - outputPath) : strlen(outputPath);
    if (stem + 4 > 259) {
        return 0;
    }
    memcpy(newPath, outputPath, stem);
    memcpy(newPath + stem, ".up", 4);
    return 1;
}

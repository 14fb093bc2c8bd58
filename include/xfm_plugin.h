// The plug-in contract: what every conversion library exports and what the host passes it.
//
// A plug-in offers functions numbered from 0. The host asks for the version, the number of
// functions and their titles once after loading, and during a run calls, per file and per
// chain step: XfmIsUseTable, XfmGetBufferSize, then (size > 0) XfmConvert and (success)
// XfmRenameFile. All entry points return 0 for failure, for "nothing to do", for a null
// request and for a function index out of range.
//
// Beyond those seven a plug-in may export XfmIsTextFunction: non-zero for a function that
// makes sense of text only (line endings, encodings, widths), 0 for one that takes any bytes.
// The host passes binary files (images, archives, programs) through a text function
// unchanged. A plug-in without it is called for every file, whatever its content.
//
// The host binds the entry points by their decorated names (kXfm*Name below). On ELF a
// plug-in exports the plain C names (XfmGetVersion, ...) and the runtime maps a decorated
// name to the plain one. A Windows plug-in exports the decorated names themselves, and only
// them: its module-definition file names each one ("_XfmGetVersion@0 = XfmGetVersion@0"),
// so XFM_EXPORT marks nothing for export there (the compiler's own marking would add a
// second, differently decorated name).
#ifndef POLYSHIFT_XFM_PLUGIN_H
#define POLYSHIFT_XFM_PLUGIN_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define XFM_CALL __stdcall
#define XFM_EXPORT_ATTR
#else
#define XFM_CALL
#define XFM_EXPORT_ATTR __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define XFM_EXTERN_C extern "C"
#else
#define XFM_EXTERN_C
#endif

// Marks a definition of one of the contract's entry points in a plug-in.
#define XFM_EXPORT XFM_EXTERN_C XFM_EXPORT_ATTR

// Longest path, terminating zero included, that the contract's path buffers hold.
#define XFM_MAX_PATH 260

// One conversion step. The host owns every pointer; a plug-in reads `input`, `inputLength`,
// `functionIndex` and `tablePath`, writes at most `outputCapacity` bytes to `output` and sets
// `outputLength` (XfmConvert only).
typedef struct ConvertRequest {
    uint32_t size;              // sizeof(ConvertRequest), written by the host
    const unsigned char* input; // this step's input; not zero-terminated, may hold zero bytes
    uint32_t inputLength;
    unsigned char* output;      // buffer of outputCapacity bytes (XfmConvert only)
    uint32_t outputCapacity;    // exactly what XfmGetBufferSize returned for this request
    uint32_t functionIndex;     // 0..count-1
    const char* tablePath;      // conversion table, "" when none is set; never null
    uint32_t outputLength;      // set by XfmConvert
    uint32_t reserved1;         // unused by both sides
    uint32_t reserved2;         // unused by both sides
} ConvertRequest;

#if defined(_WIN32) && !defined(_WIN64)
#ifdef __cplusplus
static_assert(sizeof(ConvertRequest) == 40, "ten 32-bit words on 32-bit Windows");
#else
_Static_assert(sizeof(ConvertRequest) == 40, "ten 32-bit words on 32-bit Windows");
#endif
#endif
#ifdef __cplusplus
static_assert(offsetof(ConvertRequest, size) == 0);
static_assert(offsetof(ConvertRequest, input) == sizeof(void*));
static_assert(offsetof(ConvertRequest, tablePath) > offsetof(ConvertRequest, functionIndex));
static_assert(offsetof(ConvertRequest, reserved2) == offsetof(ConvertRequest, outputLength) + 8);
#endif

// The text object that XfmRegExp reads and replaces. It belongs to the host, and carries the
// host's own functions for reading and replacing it: a plug-in calls only those, so the text
// is only ever allocated and freed by the host's string implementation and allocator, whatever
// either side was built with, and the plug-in needs nothing of the host's but this record.
// (The program's own text object is platform::SharedString, see platform/shared_string.h.)
typedef struct XfmText XfmText;

typedef struct XfmTextFunctions {
    // The text's bytes, followed by a zero byte that is not part of the text; never null.
    const char*(XFM_CALL* data)(const XfmText* text);
    // The number of bytes of the text, zero bytes included.
    uint32_t(XFM_CALL* length)(const XfmText* text);
    // Replaces the whole text by `length` bytes copied from `bytes` (which may point into the
    // text itself). Returns 0, with the text unchanged, when the host cannot hold them.
    uint32_t(XFM_CALL* assign)(XfmText* text, const char* bytes, uint32_t length);
} XfmTextFunctions;

struct XfmText {
    const XfmTextFunctions* functions;  // the host's
    void* storage;                      // the host's, never touched by a plug-in
};

// Version word: bytes a.b.c.d from high to low, shown as "v.a.b.c.d".
#define XFM_VERSION(a, b, c, d) \
    ((uint32_t)(((uint32_t)(a) << 24) | ((uint32_t)(b) << 16) | ((uint32_t)(c) << 8) | (uint32_t)(d)))
#define XFM_VERSION_A(word) (((uint32_t)(word) >> 24) & 0xFFu)
#define XFM_VERSION_B(word) (((uint32_t)(word) >> 16) & 0xFFu)
#define XFM_VERSION_C(word) (((uint32_t)(word) >> 8) & 0xFFu)
#define XFM_VERSION_D(word) ((uint32_t)(word) & 0xFFu)

// Entry-point signatures, as the host binds them.
typedef uint32_t(XFM_CALL* XfmGetVersionFn)(void);
typedef uint32_t(XFM_CALL* XfmGetCountFn)(void);
typedef const char*(XFM_CALL* XfmGetTitleFn)(uint32_t index);
typedef uint32_t(XFM_CALL* XfmIsUseTableFn)(uint32_t index);
typedef uint32_t(XFM_CALL* XfmGetBufferSizeFn)(ConvertRequest* request);
typedef uint32_t(XFM_CALL* XfmConvertFn)(ConvertRequest* request);
typedef uint32_t(XFM_CALL* XfmRenameFileFn)(const char* outputPath, char* newPath,
                                             uint32_t index);
typedef uint32_t(XFM_CALL* XfmRegExpFn)(XfmText* text, const char* command);
typedef uint32_t(XFM_CALL* XfmIsTextFunctionFn)(uint32_t index);

// Decorated names the host binds by.
#define kXfmGetVersionName "_XfmGetVersion@0"
#define kXfmGetCountName "_XfmGetCount@0"
#define kXfmGetTitleName "_XfmGetTitle@4"
#define kXfmIsUseTableName "_XfmIsUseTable@4"
#define kXfmGetBufferSizeName "_XfmGetBufferSize@4"
#define kXfmConvertName "_XfmConvert@4"
#define kXfmRenameFileName "_XfmRenameFile@12"
#define kXfmRegExpName "_XfmRegExp@8"
#define kXfmIsTextFunctionName "_XfmIsTextFunction@4"

// Declarations a plug-in's definitions must match.
XFM_EXPORT uint32_t XFM_CALL XfmGetVersion(void);
XFM_EXPORT uint32_t XFM_CALL XfmGetCount(void);
XFM_EXPORT const char* XFM_CALL XfmGetTitle(uint32_t index);
XFM_EXPORT uint32_t XFM_CALL XfmIsUseTable(uint32_t index);
XFM_EXPORT uint32_t XFM_CALL XfmGetBufferSize(ConvertRequest* request);
XFM_EXPORT uint32_t XFM_CALL XfmConvert(ConvertRequest* request);
XFM_EXPORT uint32_t XFM_CALL XfmRenameFile(const char* outputPath, char* newPath,
                                           uint32_t index);
XFM_EXPORT uint32_t XFM_CALL XfmRegExp(XfmText* text, const char* command);
XFM_EXPORT uint32_t XFM_CALL XfmIsTextFunction(uint32_t index);

#endif

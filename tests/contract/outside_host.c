/* A host as an outside author writes one, in plain C: it loads every plug-in library of a
 * folder (*.dll on Windows, *.so elsewhere) by its absolute path, binds the entry points only
 * by the contract's names (the decorated ones on Windows, the plain C names elsewhere), and
 * runs each function that needs no table over one file, the way the contract describes a
 * step. For each function it writes the output to <out>/<plug-in>-<index>.out and prints one
 * line:
 *   <plug-in>:<index> converted <output length> <new name, or "-">
 *   <plug-in>:<index> nothing
 * A library that exports XfmRegExp also gets the input through the command "s/([0-9]+)/<$1>/g"
 * in a text object of this host's own making (its own allocator behind the contract's
 * functions); the result goes to <out>/regexp.out with the line
 *   regexp <plug-in> <result length>
 * Usage: outside-host <plug-in folder> <input file> <output folder> */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#ifdef _WIN32
#include <windows.h>
#define CALL __stdcall
#define SEPARATOR "\\"
#define SUFFIX ".dll"
typedef HMODULE Library;
#else
#include <dirent.h>
#include <dlfcn.h>
#define CALL
#define SEPARATOR "/"
#define SUFFIX ".so"
#define MAX_PATH 4096
typedef void* Library;
#endif

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

/* The contract's text object: this host's functions, and its storage behind them. */
typedef struct Text Text;
typedef struct TextFunctions {
    const char*(CALL* data)(const Text* text);
    uint32_t(CALL* length)(const Text* text);
    uint32_t(CALL* assign)(Text* text, const char* bytes, uint32_t length);
} TextFunctions;
typedef struct Storage {
    char* bytes;
    uint32_t length;
} Storage;
struct Text {
    const TextFunctions* functions;
    void* storage;
};

/* The entry point `decorated` ("_XfmConvert@4"): by that name on Windows, by the C name
 * ("XfmConvert") elsewhere. */
static void* Bind(Library library, const char* decorated) {
#ifdef _WIN32
    return (void*)GetProcAddress(library, decorated);
#else
    char plain[64];
    size_t length = strcspn(decorated + 1, "@");
    if (length >= sizeof plain) {
        return NULL;
    }
    memcpy(plain, decorated + 1, length);
    plain[length] = '\0';
    return dlsym(library, plain);
#endif
}

static const char* CALL TextData(const Text* text) {
    return ((const Storage*)text->storage)->bytes;
}

static uint32_t CALL TextLength(const Text* text) {
    return ((const Storage*)text->storage)->length;
}

static uint32_t CALL TextAssign(Text* text, const char* bytes, uint32_t length) {
    Storage* storage = (Storage*)text->storage;
    char* copy = malloc((size_t)length + 1);
    if (copy == NULL) {
        return 0;
    }
    memcpy(copy, bytes, length);
    copy[length] = '\0';
    free(storage->bytes);
    storage->bytes = copy;
    storage->length = length;
    return 1;
}

static const TextFunctions textFunctions = {TextData, TextLength, TextAssign};

typedef uint32_t(CALL* RegExpFn)(Text*, const char*);
typedef uint32_t(CALL* CountFn)(void);
typedef uint32_t(CALL* IndexFn)(uint32_t);
typedef uint32_t(CALL* RequestFn)(Request*);
typedef uint32_t(CALL* RenameFn)(const char*, char*, uint32_t);

static unsigned char* ReadAll(const char* path, uint32_t* length) {
    FILE* file = fopen(path, "rb");
    unsigned char* bytes;
    long size;
    if (file == NULL || fseek(file, 0, SEEK_END) != 0 || (size = ftell(file)) < 0) {
        exit(2);
    }
    rewind(file);
    bytes = malloc((size_t)size + 1);
    if (bytes == NULL || fread(bytes, 1, (size_t)size, file) != (size_t)size) {
        exit(2);
    }
    fclose(file);
    *length = (uint32_t)size;
    return bytes;
}

static void RunFunction(Library library, const char* plugin, uint32_t index,
                        const unsigned char* input, uint32_t length, const char* outFolder) {
    RequestFn getSize = (RequestFn)Bind(library, "_XfmGetBufferSize@4");
    RequestFn convert = (RequestFn)Bind(library, "_XfmConvert@4");
    RenameFn rename = (RenameFn)Bind(library, "_XfmRenameFile@12");
    Request request;
    char path[MAX_PATH], newPath[MAX_PATH], original[MAX_PATH];
    FILE* out;
    memset(&request, 0, sizeof request);
    request.size = sizeof request;
    request.input = input;
    request.inputLength = length;
    request.functionIndex = index;
    request.tablePath = "";
    request.outputCapacity = getSize(&request);
    if (request.outputCapacity == 0) {
        printf("%s:%u nothing\n", plugin, index);
        return;
    }
    request.output = malloc(request.outputCapacity);
    if (request.output == NULL || convert(&request) == 0) {
        printf("%s:%u nothing\n", plugin, index);
        free(request.output);
        return;
    }
    snprintf(path, sizeof path, "%s" SEPARATOR "%s-%u.out", outFolder, plugin, index);
    out = fopen(path, "wb");
    if (out == NULL || fwrite(request.output, 1, request.outputLength, out) != request.outputLength) {
        exit(3);
    }
    fclose(out);
    snprintf(original, sizeof original, "%s" SEPARATOR "in.txt", outFolder);
    newPath[0] = '\0';
    printf("%s:%u converted %u %s\n", plugin, index, request.outputLength,
           rename(original, newPath, index) != 0 ? strrchr(newPath, SEPARATOR[0]) + 1 : "-");
    free(request.output);
}

static void RunRegExp(Library library, const char* plugin, const unsigned char* input,
                      uint32_t length, const char* outFolder) {
    RegExpFn regExp = (RegExpFn)Bind(library, "_XfmRegExp@8");
    Storage storage = {NULL, 0};
    Text text = {&textFunctions, &storage};
    char path[MAX_PATH];
    FILE* out;
    if (regExp == NULL) {
        return;
    }
    if (TextAssign(&text, (const char*)input, length) == 0 ||
        regExp(&text, "s/([0-9]+)/<$1>/g") == 0) {
        exit(4);
    }
    snprintf(path, sizeof path, "%s" SEPARATOR "regexp.out", outFolder);
    out = fopen(path, "wb");
    if (out == NULL || fwrite(storage.bytes, 1, storage.length, out) != storage.length) {
        exit(3);
    }
    fclose(out);
    printf("regexp %s %u\n", plugin, storage.length);
    free(storage.bytes);
}

/* Loads the library `fileName` of `folder` and runs its functions; 0 when it cannot. */
static int RunPlugin(const char* folder, const char* fileName, const unsigned char* input,
                     uint32_t length, const char* outFolder) {
    char path[MAX_PATH], plugin[MAX_PATH];
    Library library;
    CountFn getCount;
    IndexFn isUseTable;
    uint32_t count, index;
    snprintf(path, sizeof path, "%s" SEPARATOR "%s", folder, fileName);
#ifdef _WIN32
    library = LoadLibraryA(path);
#else
    library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (library == NULL) {
        fprintf(stderr, "%s\n", dlerror());
    }
#endif
    getCount = library ? (CountFn)Bind(library, "_XfmGetCount@0") : NULL;
    isUseTable = library ? (IndexFn)Bind(library, "_XfmIsUseTable@4") : NULL;
    if (getCount == NULL || isUseTable == NULL) {
        fprintf(stderr, "cannot load %s\n", path);
        return 0;
    }
    snprintf(plugin, sizeof plugin, "%s", fileName);
    *strrchr(plugin, '.') = '\0';
    count = getCount();
    for (index = 0; index < count; ++index) {
        if (isUseTable(index) == 0) {
            RunFunction(library, plugin, index, input, length, outFolder);
        }
    }
    RunRegExp(library, plugin, input, length, outFolder);
    return 1;
}

int main(int argc, char** argv) {
    uint32_t length;
    unsigned char* input;
    if (argc != 4) {
        return 1;
    }
    input = ReadAll(argv[2], &length);
#ifdef _WIN32
    {
        char pattern[MAX_PATH];
        WIN32_FIND_DATAA found;
        HANDLE search;
        snprintf(pattern, sizeof pattern, "%s\\*.dll", argv[1]);
        search = FindFirstFileA(pattern, &found);
        if (search == INVALID_HANDLE_VALUE) {
            return 1;
        }
        do {
            if (!RunPlugin(argv[1], found.cFileName, input, length, argv[3])) {
                return 1;
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
#else
    {
        DIR* folder = opendir(argv[1]);
        struct dirent* entry;
        if (folder == NULL) {
            return 1;
        }
        while ((entry = readdir(folder)) != NULL) {
            const size_t nameLength = strlen(entry->d_name);
            if (nameLength > 3 && strcmp(entry->d_name + nameLength - 3, SUFFIX) == 0 &&
                !RunPlugin(argv[1], entry->d_name, input, length, argv[3])) {
                return 1;
            }
        }
        closedir(folder);
    }
#endif
    free(input);
    return 0;
}

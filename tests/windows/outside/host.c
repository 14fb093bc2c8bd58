/* A host as an outside author writes one, in plain C: it loads every DLL of a folder, binds
 * the entry points only by their decorated names, and runs each function that needs no
 * table over one file, the way the contract describes a step. For each function it writes
 * the output to <out>\<plug-in>-<index>.out and prints one line:
 *   <plug-in>:<index> converted <output length> <new name, or "-">
 *   <plug-in>:<index> nothing
 * Usage: outside-host <plug-in folder> <input file> <output folder> */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

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

typedef uint32_t(__stdcall* CountFn)(void);
typedef uint32_t(__stdcall* IndexFn)(uint32_t);
typedef uint32_t(__stdcall* RequestFn)(Request*);
typedef uint32_t(__stdcall* RenameFn)(const char*, char*, uint32_t);

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

static void RunFunction(HMODULE library, const char* plugin, uint32_t index,
                        const unsigned char* input, uint32_t length, const char* outFolder) {
    RequestFn getSize = (RequestFn)(void*)GetProcAddress(library, "_XfmGetBufferSize@4");
    RequestFn convert = (RequestFn)(void*)GetProcAddress(library, "_XfmConvert@4");
    RenameFn rename = (RenameFn)(void*)GetProcAddress(library, "_XfmRenameFile@12");
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
    snprintf(path, sizeof path, "%s\\%s-%u.out", outFolder, plugin, index);
    out = fopen(path, "wb");
    if (out == NULL || fwrite(request.output, 1, request.outputLength, out) != request.outputLength) {
        exit(3);
    }
    fclose(out);
    snprintf(original, sizeof original, "%s\\in.txt", outFolder);
    newPath[0] = '\0';
    printf("%s:%u converted %u %s\n", plugin, index, request.outputLength,
           rename(original, newPath, index) != 0 ? strrchr(newPath, '\\') + 1 : "-");
    free(request.output);
}

int main(int argc, char** argv) {
    char pattern[MAX_PATH], path[MAX_PATH];
    WIN32_FIND_DATAA found;
    HANDLE search;
    uint32_t length;
    unsigned char* input;
    if (argc != 4) {
        return 1;
    }
    input = ReadAll(argv[2], &length);
    snprintf(pattern, sizeof pattern, "%s\\*.dll", argv[1]);
    search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) {
        return 1;
    }
    do {
        HMODULE library;
        CountFn getCount;
        IndexFn isUseTable;
        uint32_t count, index;
        char plugin[MAX_PATH];
        snprintf(path, sizeof path, "%s\\%s", argv[1], found.cFileName);
        library = LoadLibraryA(path);
        getCount = library ? (CountFn)(void*)GetProcAddress(library, "_XfmGetCount@0") : NULL;
        isUseTable = library ? (IndexFn)(void*)GetProcAddress(library, "_XfmIsUseTable@4") : NULL;
        if (getCount == NULL || isUseTable == NULL) {
            return 1;
        }
        snprintf(plugin, sizeof plugin, "%s", found.cFileName);
        *strrchr(plugin, '.') = '\0';
        count = getCount();
        for (index = 0; index < count; ++index) {
            if (isUseTable(index) == 0) {
                RunFunction(library, plugin, index, input, length, argv[3]);
            }
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return 0;
}

/* Uses ecc200.dll as a Windows host does: loads it with LoadLibrary, finds the functions it
 * needs with GetProcAddress, checks the loader recorded that the DLL wants no thread
 * notifications, encodes on threads started after loading, then unloads and reloads the DLL and
 * encodes again. Every encode must give the bytes the first one gave. Exit status 0 when all
 * holds. */
#include <windows.h>
#include <winternl.h>

#include <stdio.h>
#include <string.h>

#include "ecc200.h"

/* The exports used, as GetProcAddress finds them. */
static struct {
    SymbolHandle(ECC200_CALL* create)(void);
    void(ECC200_CALL* destroy)(SymbolHandle);
    int32_t(ECC200_CALL* setScheme)(SymbolHandle, int32_t);
    int32_t(ECC200_CALL* setData)(SymbolHandle, const uint8_t*, int32_t);
    int32_t(ECC200_CALL* writeBuf)(SymbolHandle, uint8_t*, int32_t);
} library;

/* The loader's record of a module, from its links in memory order on: the layout every Windows
 * version since NT (and Wine) shares. */
typedef struct {
    LIST_ENTRY inMemoryOrderLinks, inInitializationOrderLinks;
    void *dllBase, *entryPoint;
    ULONG sizeOfImage;
    UNICODE_STRING fullDllName, baseDllName;
    ULONG flags;
} LoaderEntry;

/* Set in a module's loader record by DisableThreadLibraryCalls. */
#define kDontCallForThreads 0x00040000UL

enum { kThreads = 4, kTexts = 3, kSchemes = 7 }; /* schemes 0..6 */
static const char* const kSamples[kTexts] = {"0123456789012345678901234567890123456789",
                                             "ABCDEFGHIJ klmnop A*B>C*D",
                                             "\x1a\r\n\x01\xff\x80 binary"};
static uint8_t reference[kTexts][kSchemes][ECC200_MAX_MODULES];
static int32_t referenceStatus[kTexts][kSchemes];

#define RESOLVED(field, name) \
    ((library.field = (__typeof__(library.field))(void (*)(void))GetProcAddress(dll, name)) != NULL)

static int Resolve(HMODULE dll) {
    return RESOLVED(create, "CreateSymbol_ECC200") & RESOLVED(destroy, "DeleteSymbol_ECC200") &
           RESOLVED(setScheme, "SetScheme_ECC200") & RESOLVED(setData, "SetDataToEncoding_ECC200") &
           RESOLVED(writeBuf, "WriteEncodedSymbolToBuf_ECC200");
}

static ULONG LoaderFlags(HMODULE dll) {
    PROCESS_BASIC_INFORMATION process;
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process,
                                  sizeof process, NULL) != 0) {
        return 0;
    }
    LIST_ENTRY* head = &process.PebBaseAddress->Ldr->InMemoryOrderModuleList;
    for (LIST_ENTRY* link = head->Flink; link != head; link = link->Flink) {
        const LoaderEntry* entry = (const LoaderEntry*)link;
        if (entry->dllBase == (void*)dll) return entry->flags;
    }
    return 0;
}

/* Encodes every text in every scheme; with compare set, counts results that differ from the
 * reference, otherwise records them as the reference. */
static int EncodeAll(int compare) {
    uint8_t buffer[ECC200_MAX_MODULES];
    int differences = 0;
    SymbolHandle symbol = library.create();
    for (int i = 0; symbol != NULL && i < kTexts * kSchemes; ++i) {
        const int t = i / kSchemes, s = i % kSchemes;
        memset(buffer, 0x55, ECC200_MAX_MODULES);
        library.setScheme(symbol, s);
        library.setData(symbol, (const uint8_t*)kSamples[t], (int32_t)strlen(kSamples[t]));
        const int32_t status = library.writeBuf(symbol, buffer, ECC200_MAX_MODULES);
        if (!compare) {
            referenceStatus[t][s] = status;
            memcpy(reference[t][s], buffer, ECC200_MAX_MODULES);
        }
        differences += status != referenceStatus[t][s] ||
                       memcmp(buffer, reference[t][s], ECC200_MAX_MODULES) != 0;
    }
    if (symbol != NULL) library.destroy(symbol);
    return symbol == NULL ? 1 : differences;
}

static DWORD WINAPI EncodeOnThread(LPVOID result) {
    *(int*)result = EncodeAll(1);
    return 0;
}

/* Loads the DLL, checks it, encodes on fresh threads and unloads it. Returns failures found. */
static int LoadAndUse(int first) {
    HMODULE dll = LoadLibraryA("ecc200.dll");
    if (dll == NULL || !Resolve(dll) || (LoaderFlags(dll) & kDontCallForThreads) == 0) {
        fprintf(stderr, "not loaded, an export missing, or thread notifications still on\n");
        return 1;
    }
    int failures = EncodeAll(!first);
    HANDLE threads[kThreads];
    int results[kThreads];
    for (int i = 0; i < kThreads; ++i)
        threads[i] = CreateThread(NULL, 0, EncodeOnThread, &results[i], 0, NULL);
    WaitForMultipleObjects(kThreads, threads, TRUE, INFINITE);
    for (int i = 0; i < kThreads; ++i) {
        CloseHandle(threads[i]);
        failures += results[i];
    }
    if (!FreeLibrary(dll) || GetModuleHandleA("ecc200.dll") != NULL) {
        fprintf(stderr, "the DLL did not unload\n");
        ++failures;
    }
    return failures;
}

int main(void) {
    int failures = 0;
    for (int round = 0; round < 3; ++round) failures += LoadAndUse(round == 0);
    printf("%s: %d failures\n", failures == 0 ? "passed" : "FAILED", failures);
    return failures == 0 ? 0 : 1;
}

// The Windows DLL's entry point. The DLL is linked without the compiler's start-up code, so
// DllMain is called by the loader directly: no static initialisers run (the library has none,
// which the build checks) and the DLL has no thread-local-storage directory, which lets
// DisableThreadLibraryCalls succeed. The one piece of the start-up code that the statically linked
// C runtime parts still call, atexit, is provided here.
#ifdef _WIN32
#include <windows.h>

#include <atomic>

namespace {

// Exit handlers registered from inside the DLL (MinGW's number formatting registers one for its
// locks); they run when the DLL is unloaded, before its code goes away, as with the start-up code.
using ExitHandler = void (*)(void);
constexpr int kMaxExitHandlers = 32;
ExitHandler exitHandlers[kMaxExitHandlers];
std::atomic<int> exitHandlerCount{0};

void RunExitHandlers() {
    int count = exitHandlerCount.exchange(0);
    if (count > kMaxExitHandlers) count = kMaxExitHandlers;
    while (count > 0) exitHandlers[--count]();
}

}  // namespace

extern "C" {

// The library keeps no per-thread state, so it asks not to be told of threads coming and going
// (were that refused, the notifications would be harmless: nothing here acts on them).
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    if (reason == DLL_PROCESS_DETACH) RunExitHandlers();
    return TRUE;
}

int atexit(ExitHandler handler) {
    const int slot = exitHandlerCount.fetch_add(1);
    if (slot >= kMaxExitHandlers) return -1;
    exitHandlers[slot] = handler;
    return 0;
}

}  // extern "C"
#endif

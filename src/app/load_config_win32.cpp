// The exe's load configuration, for one field: DependentLoadFlags = LOAD_LIBRARY_SEARCH_SYSTEM32,
// what MSVC's /DEPENDENTLOADFLAG:0x800 writes. Windows 10 1607 and later then look for the DLLs the
// exe imports (wininet.dll is not among the system's known DLLs) in System32 only, never beside
// the exe. GNU ld does not point the image's load-configuration entry at this structure, so
// tools/pe_load_config.py does after the link, finding it by its section.
#include <windows.h>

#include <cstddef>

namespace {

constexpr IMAGE_LOAD_CONFIG_DIRECTORY loadConfig() {
    IMAGE_LOAD_CONFIG_DIRECTORY config{};
#ifdef _WIN64
    config.Size = sizeof config;
#else
    // 64 bytes, the size every Windows takes on i686; it ends before the SafeSEH table, which
    // the exe has none of.
    config.Size = offsetof(IMAGE_LOAD_CONFIG_DIRECTORY, SEHandlerTable);
#endif
    config.Reserved1 = 0x0800;  // the field later headers name DependentLoadFlags
    return config;
}

}  // namespace

extern "C" __attribute__((section(".lcfg"), used)) constinit const IMAGE_LOAD_CONFIG_DIRECTORY _load_config_used =
    loadConfig();

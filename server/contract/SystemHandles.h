#pragma once
// Owned kernel and registry handles.
#include <windows.h>

#include "server/contract/UniqueHandle.h"

namespace tessel {

namespace detail {
inline void CloseRegistryKey(HKEY h) { RegCloseKey(h); }
inline void CloseKernelHandle(HANDLE h) { CloseHandle(h); }
inline void FreeGlobal(HGLOBAL h) { GlobalFree(h); }
}  // namespace detail

using unique_hkey = unique_handle<HKEY, detail::CloseRegistryKey>;
using unique_hfile = unique_handle<HANDLE, detail::CloseKernelHandle>;
using unique_hglobal = unique_handle<HGLOBAL, detail::FreeGlobal>;  // GlobalAlloc'd memory

// CreateFile answers INVALID_HANDLE_VALUE, not null, when it fails; the owner holds null then.
inline unique_hfile OwnedFile(HANDLE h) { return unique_hfile(h == INVALID_HANDLE_VALUE ? nullptr : h); }

}  // namespace tessel

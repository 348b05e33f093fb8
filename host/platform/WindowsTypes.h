// The few Windows types, error codes and the last-error slot that the platform
// layer's registry, message box and shell calls share. They carry the Windows
// names so that code written against them reads, and ports, like its Windows
// counterpart; they live in our namespace so that nothing clashes with them.
#pragma once

#include <cstdint>

namespace tz::platform {

using BYTE = unsigned char;
using DWORD = std::uint32_t;
using ULONG = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using BOOL = int;  // nonzero for success (TRUE and FALSE are left out: macros elsewhere)
using LPCSTR = const char*;
using HANDLE = void*;

// Owner windows do not exist on this platform; every HWND is null.
struct WindowHandle;
using HWND = WindowHandle*;
struct InstanceHandle;
using HINSTANCE = InstanceHandle*;

// System error codes, with their Windows values.
constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_PATH_NOT_FOUND = 3;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr LONG ERROR_BAD_FORMAT = 11;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_BAD_PATHNAME = 161;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NO_ASSOCIATION = 1155;

// The calling thread's last error, as set by the shell calls.
DWORD GetLastError();
void SetLastError(DWORD code);

}  // namespace tz::platform

#include "CommandGuard.h"

#include <exception>
#include <new>

#include "acutads.h"

int guardedCall(int (*body)()) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        acutPrintf(_T("\nNot enough memory.  Command terminates.\n"));
    } catch (const std::exception& error) {
        acutPrintf(_T("\nInternal error: %hs.  Command terminates.\n"), error.what());
    } catch (...) {
        acutPrintf(_T("\nInternal error.  Command terminates.\n"));
    }
    return RTERROR;
}

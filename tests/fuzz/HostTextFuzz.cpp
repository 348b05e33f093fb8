// The host's other readers on arbitrary bytes (the first byte picks one):
// LISP text, DCL files with their includes, registry files. Malformed text
// is refused with its message; nothing may crash or hang.
#include <cstdint>
#include <memory>
#include <string>

#include "RegistryFile.h"
#include "dcl/DclLoader.h"
#include "lisp/Reader.h"

using namespace tz::cad;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 3) {
        case 0: {
            const std::wstring text(bytes.begin(), bytes.end());
            lisp::Reader reader(text, [](const std::wstring& name) {
                auto symbol = std::make_shared<lisp::Value>(lisp::Type::Sym);
                symbol->text = name;
                return symbol;
            });
            try {
                while (auto form = reader.next()) (void)lisp::printForm(*form, true);
            } catch (const lisp::ReadError&) {
            }
            (void)lisp::openParenDepth(text);
            break;
        }
        case 1: {
            // Every include of a name of even length is the file itself.
            const std::wstring text = dcl::decodeDclBytes(bytes);
            (void)dcl::loadDclText(text, L"fuzz.dcl", [&](const std::wstring& name) {
                dcl::FileText included;
                included.found = name.size() % 2 == 0;
                if (included.found) included.text = text;
                else included.message = L"not found";
                return included;
            });
            break;
        }
        case 2:
            (void)tz::platform::parseRegistryFile(bytes);
            (void)tz::platform::decodeRegistryText(bytes);
            break;
    }
    return 0;
}

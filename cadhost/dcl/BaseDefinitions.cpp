#include "dcl/BaseDefinitions.h"

#include <stdexcept>
#include <variant>

#include "dcl/DclParser.h"

namespace tz::cad::dcl {

std::wstring_view baseDefinitionsText() {
    // The retirement buttons close a dialog: "accept" with status 1 and
    // "cancel" with status 0 unless the program gives them actions of its own.
    // is_cancel marks the tile that Escape presses, is_default the one Enter presses.
    static const std::wstring text = LR"DCL(

spacer_0 : spacer { height = 0; width = 0; horizontal_margin = none; vertical_margin = none; }
spacer_1 : spacer { height = 1; width = 1; horizontal_margin = none; vertical_margin = none; }

retirement_button : button { fixed_width = true; width = 10; alignment = centered; }
default_button : button { is_default = true; }

ok_button : retirement_button { label = "OK"; key = "accept"; is_default = true; }
cancel_button : retirement_button { label = "Cancel"; key = "cancel"; is_cancel = true; }
help_button : retirement_button { label = "Help"; key = "help"; }
info_button : retirement_button { label = "Info..."; key = "info"; }

errtile : text { key = "error"; label = ""; width = 40; is_error_tile = true; }

ok_only : column {
    fixed_width = true;
    alignment = centered;
    : ok_button { is_cancel = true; }
}

ok_cancel : column {
    : row {
        fixed_width = true;
        alignment = centered;
        ok_button;
        : spacer { width = 2; }
        cancel_button;
    }
}

ok_cancel_help : column {
    : row {
        fixed_width = true;
        alignment = centered;
        ok_button;
        : spacer { width = 2; }
        cancel_button;
        : spacer { width = 2; }
        help_button;
    }
}

ok_cancel_help_info : column {
    : row {
        fixed_width = true;
        alignment = centered;
        ok_button;
        : spacer { width = 2; }
        cancel_button;
        : spacer { width = 2; }
        help_button;
        : spacer { width = 2; }
        info_button;
    }
}

ok_cancel_err : column {
    ok_cancel;
    errtile;
}

ok_cancel_help_errtile : column {
    ok_cancel_help;
    errtile;
}

edit12_box : edit_box { edit_width = 12; edit_limit = 12; }
edit32_box : edit_box { edit_width = 32; edit_limit = 32; }
)DCL";
    return text;
}

const DclSyntax& baseDefinitions() {
    static const DclSyntax syntax = [] {
        std::variant<DclSyntax, DclError> parsed = parseDcl(baseDefinitionsText());
        if (std::holds_alternative<DclError>(parsed)) {
            // Only a broken build gets here; the base definitions are tested.
            throw std::logic_error("the host's base DCL definitions do not parse");
        }
        return std::get<DclSyntax>(std::move(parsed));
    }();
    return syntax;
}

}  // namespace tz::cad::dcl

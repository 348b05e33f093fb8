// Dialogs of the terrain modeller. The programs find these tiles by key; the
// labels and layout are free to change. Every dialog ends with the message
// line "error" and the OK ("accept") and Cancel ("cancel") buttons.

dcl_settings : default_dcl_settings { audit_level = 1; }

// ---- Shared pieces -----------------------------------------------------

// A file name: room for a full path.
dtm_file_box : edit_box {
    edit_width = 40;
    edit_limit = 511;
    allow_accept = true;
}

// A number as the commands read it (14 characters).
dtm_number_box : edit_box {
    edit_width = 12;
    edit_limit = 14;
    allow_accept = true;
}

// A layer name as the commands check it (30 characters).
dtm_layer_box : edit_box {
    edit_width = 24;
    edit_limit = 30;
    allow_accept = true;
}

dtm_browse_button : button {
    label = "Browse...";
    fixed_width = true;
    width = 12;
}

dtm_footer : column {
    errtile;
    ok_cancel;
}

// ---- Open project ------------------------------------------------------

dtmopen : dialog {
    label = "Open Terrain Project";
    initial_focus = "point_file";
    : boxed_column {
        label = "Survey point file (easting northing elevation)";
        : row {
            : dtm_file_box { key = "point_file"; label = "Point file:"; mnemonic = "P"; }
            : dtm_browse_button { key = "pfbrowse"; mnemonic = "B"; }
        }
        : text { label = "The project settings are kept in a .set file beside it."; }
    }
    dtm_footer;
}

// ---- Triangulate -------------------------------------------------------

triangulate : dialog {
    label = "Build Terrain Model (TIN)";
    : boxed_column {
        label = "Survey points";
        : dtm_file_box { key = "point_file"; label = "Point file:"; is_enabled = false; }
        : toggle { key = "uelev"; label = "Use only points within this elevation range"; mnemonic = "U"; }
        : row {
            : dtm_number_box { key = "mine"; label = "Lowest elevation:"; }
            : dtm_number_box { key = "maxe"; label = "Highest elevation:"; }
        }
    }
    : boxed_column {
        label = "Fault (break) lines";
        : toggle { key = "ufaults"; label = "Force fault lines into the model as triangle edges"; mnemonic = "F"; }
        : radio_row {
            key = "faultdim";
            label = "Each fault line end holds";
            : radio_button { key = "dim2"; label = "x y (2D)"; }
            : radio_button { key = "dim3"; label = "x y z (3D)"; value = "1"; }
        }
        : row {
            : dtm_file_box { key = "fault_file"; label = "Fault line file:"; }
            : dtm_browse_button { key = "ffbrowse"; }
        }
    }
    : boxed_column {
        label = "Boundary and voids";
        : toggle { key = "ubound"; label = "Keep only triangles inside the boundary and outside voids"; mnemonic = "K"; }
        : row {
            : dtm_file_box { key = "bound_file"; label = "Boundary/void file:"; }
            : dtm_browse_button { key = "bfbrowse"; }
        }
    }
    dtm_footer;
}

// ---- Contours ----------------------------------------------------------

contours : dialog {
    label = "Contour Lines";
    : boxed_row {
        label = "Elevation range";
        : dtm_number_box { key = "start"; label = "From elevation:"; }
        : dtm_number_box { key = "end"; label = "To elevation:"; }
    }
    : row {
        : boxed_column {
            label = "Regular contours";
            : dtm_number_box { key = "interval"; label = "Contour interval:"; mnemonic = "I"; }
            : dtm_number_box { key = "dcw"; label = "Polyline width:"; }
            : dtm_layer_box { key = "layer"; label = "Layer:"; }
        }
        : boxed_column {
            label = "Index contours";
            : dtm_number_box { key = "iinterval"; label = "Index interval:"; mnemonic = "n"; }
            : dtm_number_box { key = "diw"; label = "Polyline width:"; }
            : dtm_layer_box { key = "ilayer"; label = "Layer:"; }
        }
    }
    : boxed_radio_row {
        key = "rounding";
        label = "Contour shape";
        : radio_button { key = "NoRounding"; label = "Straight between TIN edges"; value = "1"; }
        : radio_button { key = "SomeRounding"; label = "Smoothed curves"; }
    }
    dtm_footer;
}

// ---- Rectangular mesh --------------------------------------------------

mesh : dialog {
    label = "3D Grid Mesh";
    : boxed_column {
        label = "Grid";
        : dtm_number_box { key = "dxi"; label = "Grid spacing (drawing units):"; mnemonic = "G"; }
        : dtm_number_box { key = "dzi"; label = "Vertical exaggeration (factor):"; mnemonic = "V"; }
        : dtm_layer_box { key = "dmln"; label = "Layer:"; }
    }
    : boxed_column {
        label = "Skirt";
        : toggle { key = "dsk"; label = "Hang a skirt down to the base elevation"; mnemonic = "S"; }
        : dtm_number_box { key = "dbe"; label = "Base elevation:"; }
    }
    dtm_footer;
}

// ---- TIN display -------------------------------------------------------

showtin : dialog {
    label = "Show TIN as 3D Faces";
    : dtm_layer_box { key = "tinlayer"; label = "Layer for the triangles:"; mnemonic = "L"; }
    : text { label = "Earlier triangles on this layer are erased."; }
    dtm_footer;
}

// ---- Volumes -----------------------------------------------------------

volumes : dialog {
    label = "Earthwork Volumes";
    : boxed_column {
        label = "Surfaces (the .tin beside each file is used)";
        : row {
            : dtm_file_box { key = "exist_tin"; label = "Existing ground:"; mnemonic = "E"; }
            : dtm_browse_button { key = "esbrowse"; }
        }
        : row {
            : dtm_file_box { key = "proposed_tin"; label = "Proposed (design):"; mnemonic = "P"; }
            : dtm_browse_button { key = "psbrowse"; }
        }
    }
    : boxed_column {
        label = "Calculation";
        : dtm_number_box { key = "vol_intrvl"; label = "Grid interval:"; mnemonic = "G"; }
        : dtm_number_box { key = "compkt"; label = "Fill compaction factor:"; mnemonic = "C"; }
        : toggle { key = "v_u_feet"; label = "Drawing units are feet (report cubic yards)"; mnemonic = "f"; }
    }
    dtm_footer;
}

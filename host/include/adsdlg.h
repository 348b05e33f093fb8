// Programmable dialog (DCL) functions of the host.
#pragma once

#include "adsdef.h"

typedef void* ads_hdlg;
typedef void* ads_htile;

struct ads_callback_packet {
    ads_hdlg dialog;
    ads_htile tile;
    ACHAR* value;
    void* client_data;
    int reason;
    long x, y;
};
typedef void (*CLIENTFUNC)(ads_callback_packet* packet);
#define NULLCB ((CLIENTFUNC)0)

// Callback reasons.
#define CBR_SELECT 1
#define CBR_LOST_FOCUS 2
#define CBR_DRAG 3
#define CBR_DOUBLE_CLICK 4

// ads_start_dialog status values.
#define DLGCANCEL 0
#define DLGOK 1
#define DLGALLDONE -1
#define DLGSTATUS 2

// ads_mode_tile modes.
#define MODE_ENABLE 0
#define MODE_DISABLE 1
#define MODE_SETFOCUS 2
#define MODE_SETSEL 3
#define MODE_FLIP 4

#define TILE_STR_LIMIT 2048

int ads_load_dialog(const ACHAR* dclFile, int* dclId);
int ads_unload_dialog(int dclId);
int ads_new_dialog(const ACHAR* dialogName, int dclId, CLIENTFUNC defaultCallback, ads_hdlg* hdlg);
int ads_start_dialog(ads_hdlg hdlg, int* status);
int ads_done_dialog(ads_hdlg hdlg, int status);
int ads_term_dialog();
int ads_set_tile(ads_hdlg hdlg, const ACHAR* key, const ACHAR* value);
// Copies at most maxLength - 1 characters of the tile's value, then a zero.
int ads_get_tile(ads_hdlg hdlg, const ACHAR* key, ACHAR* value, int maxLength);
int ads_mode_tile(ads_hdlg hdlg, const ACHAR* key, short mode);
int ads_action_tile(ads_hdlg hdlg, const ACHAR* key, CLIENTFUNC action);
int ads_client_data_tile(ads_hdlg hdlg, const ACHAR* key, void* clientData);
int ads_get_attr_string(ads_htile tile, const ACHAR* attribute, ACHAR* value, int maxLength);

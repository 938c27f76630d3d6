// Control and string ids of the parameter dialog (template IDD_CONFIG), shared by its resource
// scripts and its code.
#pragma once

#define IDC_CONFIG_ALGORITHM 6501
#define IDC_CONFIG_REGISTER 6502

// The items of the algorithm list, in list order, and the message of a failed save.
#define IDS_CONFIG_ITEM_PC_MTT 6510
#define IDS_CONFIG_ITEM_PC_MOD 6511
#define IDS_CONFIG_ITEM_MCU_MTT 6512
#define IDS_CONFIG_ITEM_MCU_MTT2 6513
#define IDS_CONFIG_SAVE_FAILED 6514

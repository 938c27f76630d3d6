// Resource ids of the dialog library: dialog templates, their controls, strings and texts.
// Read by the resource compiler too, so plain defines only.
#pragma once

// ----- dialog templates -----
#define IDD_WAITING 100
#define IDD_AGREEMENT 200
#define IDD_ABOUT 210
#define IDD_DETECT_DEVICE 300
#define IDD_REGISTER_SETTINGS 400

// ----- waiting window -----
#define IDC_WAITING_TEXT 1001
#define IDC_WAITING_PROGRESS 1002

// ----- agreement and about view (shared ids; each template has the ones it shows) -----
#define IDC_EULA_INTRO 1101
#define IDC_EULA_PRODUCT 1102
#define IDC_EULA_VERSION 1103
#define IDC_EULA_SECOND 1104
#define IDC_EULA_TEXT 1105

// ----- device detection -----
#define IDC_DETECT_STATUS 1301
#define IDC_DETECT_PROGRESS 1302

// ----- register settings -----
#define IDC_REGISTER_LIST 1401
#define IDC_REGISTER_ADDRESS 1402
#define IDC_REGISTER_VALUE 1403
#define IDC_REGISTER_ADD 1404
#define IDC_REGISTER_UPDATE 1405
#define IDC_REGISTER_DELETE 1406
#define IDC_REGISTER_ERROR 1407
#define IDC_REGISTER_COUNT 1408

// ----- strings -----
#define IDS_WAITING_TITLE 2000
#define IDS_AGREEMENT_INTRO 2001
#define IDS_ABOUT_VERSION 2002
#define IDS_DETECT_SEARCHING 2010
#define IDS_DETECT_FOUND 2011
#define IDS_DEVICE_EMULATOR 2013
#define IDS_REGISTER_COLUMN_ADDRESS 2020
#define IDS_REGISTER_COLUMN_VALUE 2021
#define IDS_REGISTER_COUNT 2022
#define IDS_REGISTER_ADDRESS_EMPTY 2030
#define IDS_REGISTER_ADDRESS_NOT_HEX 2031
#define IDS_REGISTER_ADDRESS_RANGE 2032
#define IDS_REGISTER_VALUE_EMPTY 2033
#define IDS_REGISTER_VALUE_NOT_HEX 2034
#define IDS_REGISTER_VALUE_RANGE 2035
#define IDS_REGISTER_DUPLICATE 2036
#define IDS_REGISTER_FULL 2037

// ----- texts (UTF-8 files) -----
#define IDR_LICENCE_TEXT 500
#define ZUVO_TEXT_RESOURCE_TYPE L"ZUVOTEXT"

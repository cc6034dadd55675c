// Resource ids of the settings dialog, shared by the resource script and the code.
#pragma once

#define IDD_VORN_SETTINGS 102
#define IDC_VORN_GROUP 1007
#define IDC_VORN_MAX_LABEL 1008
#define IDC_VORN_MAX_EDIT 1002
#define IDC_VORN_MAX_SPIN 1012

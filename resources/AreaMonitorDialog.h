// Control ids of the area monitoring panel (dialog IDD_AREA_MONITOR), shared by its templates
// and its code.
#pragma once

#define IDC_AREA_GATE_MIN 2001
#define IDC_AREA_GATE_MAX 2002
#define IDC_AREA_APPLY 2003
#define IDC_AREA_ABSENT_COLOUR 2004
#define IDC_AREA_PRESENT_COLOUR 2005
#define IDC_AREA_ADD_MONITOR 2006
#define IDC_AREA_DELETE_MONITOR 2007
#define IDC_AREA_ADD_BOUNDARY 2008
#define IDC_AREA_DELETE_BOUNDARIES 2009

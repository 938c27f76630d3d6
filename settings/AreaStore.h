// Stored areas: the monitoring areas ("MonitorArea"), detection boundaries ("AlgorithmArea")
// and monitoring points ("MonitorPoint") kept as child elements of the settings element, and
// how they reach the sector view.
//
// A polygon element stores its points relative to the sector rectangle together with the
// rectangle's size at the time ("BoundSize"), so that it is rescaled to whatever size the
// view has when it is loaded again.
#pragma once

#include <cstdint>

#include "settings/AreaView.h"
#include "settings/XMLParser.h"

namespace zuvo::settings {

// Colours (COLORREF) used when an element gives none.
inline constexpr uint32_t kDefaultInactiveColour = 0xFFFF00;
inline constexpr uint32_t kDefaultActiveColour = 0x0054DC;
inline constexpr uint32_t kDefaultLabelColour = 0xFFFFFF;

// Rebuilds the view's detection boundaries, then its monitoring areas, from the document, in
// document order. Elements with fewer than three readable points are skipped; polygons the
// view refuses (all slots in use) stay in the document.
void LoadAreas(const XMLParser& document, IAreaView& view);

// Rebuilds the view's monitoring points: one per position pair of every enabled element,
// labelled "1", "2", ... within its element.
void LoadMonitorPoints(const XMLParser& document, IAreaView& view);

// Appends one polygon (count (row, column) pairs relative to the view's current sector
// rectangle) with its colours to the document and saves the file. False when the polygon has
// fewer than three points (nothing stored) or the file could not be written (the document
// holds the polygon all the same).
bool SaveMonitorArea(XMLParser& document, const wchar_t* programFolder, const IAreaView& view,
                     const int32_t* rowColumnPairs, int count, uint32_t inactiveColour,
                     uint32_t activeColour);
bool SaveAlgorithmArea(XMLParser& document, const wchar_t* programFolder, const IAreaView& view,
                       const int32_t* rowColumnPairs, int count, uint32_t inactiveColour,
                       uint32_t activeColour);

// Remove every polygon of one kind from the document (other elements stay) and save the file.
bool DeleteStoredMonitorAreas(XMLParser& document, const wchar_t* programFolder);
bool DeleteStoredAlgorithmAreas(XMLParser& document, const wchar_t* programFolder);

}  // namespace zuvo::settings

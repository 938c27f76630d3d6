// CConfigDlg: the parameter dialog. The operator chooses where the tracking runs and with which
// algorithm, edits the sensor's registers and saves the choice into the radar library's
// "Radar_Config.ini" in the program folder.
//
// The dialog works on its own record, loaded from that file at every opening, and never on the
// running system's parameters: the library takes the saved values up the next time it loads
// the file. User-interface thread only.
#pragma once

#include "ZUVO_DataProcess.h"
#include "framework/Dialog.h"

class CConfigDlg : public zuvo::Dialog {
public:
    // resources: the module holding template 6500 and its strings (null: the program). The
    // record starts at the radar library's defaults.
    explicit CConfigDlg(HMODULE resources = nullptr) noexcept;
    ~CConfigDlg() override;

    // The dialog's own record: what the register dialog edits and what "Save" writes.
    tagRADARPARAMETER& Parameters() noexcept { return m_parameters; }
    // The configuration file; empty until the dialog is initialised.
    const wchar_t* ConfigPath() const noexcept { return m_configPath; }

protected:
    bool OnInitDialog() override;
    // "Save": writes the record; the dialog ends only when the file holds the choice.
    void OnOK() override;
    bool OnCommand(UINT id, UINT notification, HWND control) override;

private:
    HWND AlgorithmList() const noexcept;
    void FillAlgorithmList();
    void OnAlgorithmChanged();
    bool SaveAndReadBack() const;
    void ReportSaveFailure();

    HMODULE m_resources;
    wchar_t m_configPath[ZUVO_MAX_PATH] = {};
    tagRADARPARAMETER m_parameters{};
};

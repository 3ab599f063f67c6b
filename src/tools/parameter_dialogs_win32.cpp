// Dialogs 107 "Verschillen met KVAPTAB.C zien", 106 "Automatische aanpassing parameters" and
// 105 "Automatische Afname": the parameter tools in TAVIR.EXE, one procedure over a table each.
#include <cstdio>

#include "base/parse_decimal.h"
#include "debugwin/center_dialog_win32.h"
#include "resources/tavir_rc.h"
#include "resources/tools_texts.h"
#include "tools/tool_dialog_controls_win32.h"
#include "tools/tool_settings.h"
#include "tools/tool_store_win32.h"

namespace tavir {

namespace {

constexpr int kStartValueCapacity = 101;

template <class Options>
struct ParameterDialog;

// A check box and the option it stands for.
template <class Options>
struct OptionBox {
    int control;  // 0: the end of the list
    bool Options::*option;
};

// What a parameter tool's dialog does differently from the others.
template <class Options>
struct ParameterTable {
    std::atomic<bool> DeliveryRouter::*active;  // the tool's flag
    const char* prefix;                         // of its settings keys
    int fileEdit;
    int directoryEdit;  // 0: the dialog shows no directory
    const char* saveAsTitle;
    OptionBox<Options> boxes[4];
    Options (*readSettings)(Settings& settings);
    void (*writeSettings)(Settings& settings, const Options& options);
    // The run of the start button, with the options just read back.
    void (*start)(HWND dialog, ParameterDialog<Options>& open);
    // The controls of the dialog's own, when it has any: filled after the kind boxes, read back
    // after them.
    void (*initialiseMore)(HWND dialog, const Options& options, const ApplicationTables& tables);
    void (*readMore)(HWND dialog, Options& options);
};

template <class Options>
struct ParameterDialog : OpenToolDialog {
    ParameterDialog(ToolDialogHost& dialogHost, const ToolDialogTable& dialog,
                    const ParameterTable<Options>& tool)
        : OpenToolDialog{dialogHost, dialog}, parameters(tool) {}
    const ParameterTable<Options>& parameters;
    Options options;   // those of the last start: the sweep's reset uses them
    SweepState state;  // the sweep's
};

template <class Options>
ParameterDialog<Options>& parameterDialog(OpenToolDialog& open) {
    return static_cast<ParameterDialog<Options>&>(open);
}

// The check boxes and the speed, into the options and the settings file. The file name changes
// only through the save-as dialog.
template <class Options>
void readBack(HWND dialog, ParameterDialog<Options>& open) {
    const ParameterTable<Options>& table = open.parameters;
    Pacing& pacing = open.host.tools.pacing;
    open.options.kinds = readKindBoxes(dialog);
    if (table.readMore != nullptr) table.readMore(dialog, open.options);
    for (const OptionBox<Options>& box : table.boxes) {
        if (box.control != 0) open.options.*box.option = isChecked(dialog, box.control);
    }
    pacing.requestIntervalMs = readSpeedRadios(dialog, pacing.requestIntervalMs);
    table.writeSettings(open.host.settings, open.options);
    writeSpeedKey(open.host.settings, table.prefix, pacing.requestIntervalMs);
}

template <class Options>
void initialise(HWND dialog, OpenToolDialog& opened) {
    ParameterDialog<Options>& open = parameterDialog<Options>(opened);
    const ParameterTable<Options>& table = open.parameters;
    ToolDialogHost& host = open.host;
    openToolRoute(host, host.router.*table.active);
    CenterDialog(dialog, host.mainWindow);

    const Options& options = open.options = table.readSettings(host.settings);
    host.tools.pacing.requestIntervalMs = readSpeedKey(host.settings, table.prefix);
    setKindBoxes(dialog, options.kinds, host.tools.tables);
    if (table.initialiseMore != nullptr) table.initialiseMore(dialog, options, host.tools.tables);
    for (const OptionBox<Options>& box : table.boxes) {
        if (box.control != 0) setChecked(dialog, box.control, options.*box.option);
    }
    SetDlgItemTextA(dialog, table.fileEdit, options.fileName.c_str());
    setSpeedRadios(dialog, host.tools.pacing.requestIntervalMs);
    if (table.directoryEdit != 0) SetDlgItemTextA(dialog, table.directoryEdit, host.debugDirectory);
}

template <class Options>
void start(HWND dialog, OpenToolDialog& opened) {
    ParameterDialog<Options>& open = parameterDialog<Options>(opened);
    readBack(dialog, open);
    open.parameters.start(dialog, open);
}

template <class Options>
void chooseFile(HWND dialog, OpenToolDialog& opened) {
    ParameterDialog<Options>& open = parameterDialog<Options>(opened);
    const ParameterTable<Options>& table = open.parameters;
    chooseParameterFile(dialog, table.fileEdit, table.saveAsTitle, open.host.settings, table.prefix,
                        open.options.fileName);
}

template <class Options>
void close(HWND dialog, OpenToolDialog& opened) {
    ParameterDialog<Options>& open = parameterDialog<Options>(opened);
    readBack(dialog, open);
    closeToolDialog(dialog, open.host, open.host.router.*open.parameters.active);
}

// ---- Differences and adjustment --------------------------------------------------------------

void startDifferences(HWND dialog, ParameterDialog<DifferencesOptions>& open) {
    runParameterTool(dialog, open.host,
                     [&open](ToolContext& context) { runDifferences(context, open.options); });
}

void startAdjustment(HWND dialog, ParameterDialog<AdjustmentOptions>& open) {
    runParameterTool(dialog, open.host,
                     [&open](ToolContext& context) { runAdjustment(context, open.options); });
}

const ParameterTable<DifferencesOptions> kDifferences{&DeliveryRouter::verschillenActive,
                                                      text::kDifferencesPrefix,
                                                      IDC_DIFFERENCES_FILE,
                                                      IDC_DIFFERENCES_DIRECTORY,
                                                      text::kDifferencesSaveAsTitle,
                                                      {{IDC_SAVE_TO_FILE, &DifferencesOptions::saveToFile}},
                                                      readDifferencesSettings,
                                                      writeDifferencesSettings,
                                                      startDifferences,
                                                      nullptr,
                                                      nullptr};

const ToolDialogTable kDifferencesDialog{
    IDD_VERSCHILLEN,
    initialise<DifferencesOptions>,
    close<DifferencesOptions>,
    0,
    {{IDC_START_DIFFERENCES, start<DifferencesOptions>}, {IDC_CHOOSE_FILE, chooseFile<DifferencesOptions>}},
    nullptr};

const ParameterTable<AdjustmentOptions> kAdjustment{&DeliveryRouter::aanpasActive,
                                                    text::kAdjustmentPrefix,
                                                    IDC_ADJUSTMENT_FILE,
                                                    IDC_ADJUSTMENT_DIRECTORY,
                                                    text::kAdjustmentSaveAsTitle,
                                                    {{IDC_SAVE_TO_FILE, &AdjustmentOptions::saveToFile},
                                                     {IDC_SEPARATE_FILES, &AdjustmentOptions::separateFiles},
                                                     {IDC_VERIFY, &AdjustmentOptions::verify}},
                                                    readAdjustmentSettings,
                                                    writeAdjustmentSettings,
                                                    startAdjustment,
                                                    nullptr,
                                                    nullptr};

const ToolDialogTable kAdjustmentDialog{
    IDD_PARAMETERS,
    initialise<AdjustmentOptions>,
    close<AdjustmentOptions>,
    0,
    {{IDC_START_ADJUSTMENT, start<AdjustmentOptions>}, {IDC_CHOOSE_FILE, chooseFile<AdjustmentOptions>}},
    nullptr};

// ---- The sweep: two boxes for the switches, the start value, the originals and their reset ----

// The single switch box is not in this dialog; the two boxes stand for it.
void initialiseSweep(HWND dialog, const SweepOptions& options, const ApplicationTables& tables) {
    const bool switches = kindAvailable(ParameterKind::SCH, tables);
    EnableWindow(GetDlgItem(dialog, IDC_KIND_SCH_ON), switches ? TRUE : FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_KIND_SCH_OFF), switches ? TRUE : FALSE);
    const bool selected = switches && options.kinds.has(ParameterKind::SCH);
    setChecked(dialog, IDC_KIND_SCH_ON, selected && options.switchesOn);
    setChecked(dialog, IDC_KIND_SCH_OFF, selected && !options.switchesOn);
    char startText[16];
    std::snprintf(startText, sizeof startText, "%d", static_cast<int>(options.startValue));
    SetDlgItemTextA(dialog, IDC_START_VALUE, startText);
    EnableWindow(GetDlgItem(dialog, IDC_RESET_ORIGINALS), FALSE);
}

void readSweep(HWND dialog, SweepOptions& options) {
    const bool on = isChecked(dialog, IDC_KIND_SCH_ON);
    options.kinds.set(ParameterKind::SCH, on || isChecked(dialog, IDC_KIND_SCH_OFF));
    options.switchesOn = on;
    char startText[kStartValueCapacity] = {};
    GetDlgItemTextA(dialog, IDC_START_VALUE, startText, sizeof startText);
    options.startValue = decimalValue(startText);
}

void startSweep(HWND dialog, ParameterDialog<SweepOptions>& open) {
    runParameterTool(dialog, open.host,
                     [&open](ToolContext& context) { runSweep(context, open.options, open.state); });
    if (open.host.tools.store.anyReplyStored()) EnableWindow(GetDlgItem(dialog, IDC_RESET_ORIGINALS), TRUE);
}

// With the options of the last start, not read back from the dialog.
void resetSweep(HWND dialog, OpenToolDialog& opened) {
    ParameterDialog<SweepOptions>& open = parameterDialog<SweepOptions>(opened);
    runParameterTool(dialog, open.host,
                     [&open](ToolContext& context) { resetOriginals(context, open.options); });
}

// Checking one switch box unchecks the other; unchecking leaves the other as it is.
void switchBoxClicked(HWND dialog, int clicked, int other) {
    if (isChecked(dialog, clicked)) setChecked(dialog, other, false);
}

void switchesOnClicked(HWND dialog, OpenToolDialog&) {
    switchBoxClicked(dialog, IDC_KIND_SCH_ON, IDC_KIND_SCH_OFF);
}

void switchesOffClicked(HWND dialog, OpenToolDialog&) {
    switchBoxClicked(dialog, IDC_KIND_SCH_OFF, IDC_KIND_SCH_ON);
}

const ParameterTable<SweepOptions> kSweep{&DeliveryRouter::afnameActive,
                                          text::kSweepPrefix,
                                          IDC_SWEEP_FILE,
                                          0,
                                          text::kSweepSaveAsTitle,
                                          {{IDC_RESET_PER_KIND, &SweepOptions::resetPerKind},
                                           {IDC_SAVE_TO_FILE, &SweepOptions::saveToFile},
                                           {IDC_SEPARATE_FILES, &SweepOptions::separateFiles},
                                           {IDC_REMEMBER_ORIGINALS, &SweepOptions::rememberOriginals}},
                                          readSweepSettings,
                                          writeSweepSettings,
                                          startSweep,
                                          initialiseSweep,
                                          readSweep};

const ToolDialogTable kSweepDialog{IDD_AFNAME,
                                   initialise<SweepOptions>,
                                   close<SweepOptions>,
                                   0,
                                   {{IDC_START_SWEEP, start<SweepOptions>},
                                    {IDC_RESET_ORIGINALS, resetSweep},
                                    {IDC_CHOOSE_FILE, chooseFile<SweepOptions>},
                                    {IDC_KIND_SCH_ON, switchesOnClicked},
                                    {IDC_KIND_SCH_OFF, switchesOffClicked}},
                                   nullptr};

template <class Options>
void runParameterDialog(ToolDialogHost& host, const ToolDialogTable& dialog,
                        const ParameterTable<Options>& tool) {
    ParameterDialog<Options> open(host, dialog, tool);
    runToolDialog(open);
}

}  // namespace

void RunDifferencesDialog(ToolDialogHost& host) {
    runParameterDialog(host, kDifferencesDialog, kDifferences);
}

void RunAdjustmentDialog(ToolDialogHost& host) {
    runParameterDialog(host, kAdjustmentDialog, kAdjustment);
}

void RunSweepDialog(ToolDialogHost& host) {
    runParameterDialog(host, kSweepDialog, kSweep);
}

}  // namespace tavir

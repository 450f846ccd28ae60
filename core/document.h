// The one document of the program: the radio memory, the software data block and
// the module-wide state every editor, tool and transfer works on. The application
// owns one instance and hands it to everything by reference; tests build their own.
#pragma once

#include <string>

#include "core/radio_image.h"

namespace baldo7 {

struct Document {
    RadioImage radioImage{};
    SoftwareData softwareData{};
    ServiceMemory serviceMemory{};

    // Language and locale.
    bool IsEnglish = false;
    char DecimalSeparator = '.';

    // Serial port: a number (COMn on Windows) or, where there is none, a device name.
    int ComPortNumber = 1;
    std::string ComPortName;

    // Files.
    std::string CurrentFileName = "new.rdat";
    std::string CurrentFilePath;
    std::string TemplateFileName = "Init.dat";
    bool ReloadTemplate = false;
    bool FileHasHeader = true;

    // Password fields of the programming window, mirrored in softwareData[0..12].
    // Each character is one byte (Latin-1).
    std::string ProgramPassword;
    std::string NewPassword;
    bool ChangePasswordFlag = false;

    // Model and band limits in whole MHz (set by AnalyseModel).
    std::string ModelType;
    int BandLowMHz = 0;
    int BandHighMHz = 0;
    int BandTxHighMHz = 0;

    // Editor windows.
    bool FormChannelInformationOpen = false;
    bool FormOptionOpen = false;
    bool FormKeySettingOpen = false;
    bool FormScanInformationOpen = false;
    bool FormEmbedMessageOpen = false;
    bool FormChannelEditOpen = false;
    bool FormTuneOpen = false;
    int ChildWindowState = 0;

    // Shared between the channel grid and the channel edit dialog.
    int CurrentRow = 0;
    int CurrentColumn = 0;
    int CurrentGroup = 0;
    bool GridChanged = false;
    bool DialogChanged = false;

    bool StunEnableVisible = false;

    // Transfer flags of the programming window.
    bool ReadMode = false;
    bool TuneMode = false;
    bool LocalMessageMode = false;
    bool SpecialMode = false;
    bool StunDieMode = false;
    bool TransferOK = false;
    bool SpecialCodeSupported = true;

    // Puts every module-wide value back to its start-up value; the memory arrays,
    // the language, the separator and the port are left alone.
    void resetModuleState();
};

}  // namespace baldo7

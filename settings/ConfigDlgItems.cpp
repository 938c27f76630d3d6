#include "settings/ConfigDlgItems.h"

namespace zuvo {

namespace {

constexpr int kSensorAlgorithmMtt = 0;
constexpr int kSensorAlgorithmMtt2 = 1;
constexpr int kSensorCodeMtt = 20;
constexpr int kSensorCodeMtt2 = 30;
constexpr int kModProcessValue = 64;

// Both host algorithms run the host's processing chain.
void ChooseHostAlgorithm(int algorithm, tagRADARPARAMETER& record) noexcept {
    record.HostAlgorithm = algorithm;
    record.HostProcessFlag2 = 1;
    record.ProcessSite = RADAR_PROCESS_SITE_HOST;
    record.HostProcessFlag1 = 1;
}

void ChooseSensorAlgorithm(int algorithm, int code, tagRADARPARAMETER& record) noexcept {
    record.ProcessSite = RADAR_PROCESS_SITE_SENSOR;
    record.HostAlgorithm = RADAR_HOST_ALGORITHM_NONE;
    record.SensorAlgorithm = algorithm;
    record.SensorAlgorithmCode = code;
}

}  // namespace

int ConfigItemForRecord(const tagRADARPARAMETER& record) noexcept {
    if (record.ProcessSite == RADAR_PROCESS_SITE_SENSOR) {
        switch (record.SensorAlgorithm) {
            case kSensorAlgorithmMtt:
                return kConfigItemMcuMtt;
            case kSensorAlgorithmMtt2:
                return kConfigItemMcuMtt2;
            default:
                return kConfigItemPcMtt;
        }
    }
    return record.HostAlgorithm == RADAR_HOST_ALGORITHM_MTT ? kConfigItemPcMtt : kConfigItemPcMod;
}

void ApplyConfigItem(int item, tagRADARPARAMETER& record) noexcept {
    switch (item) {
        case kConfigItemPcMtt:
            ChooseHostAlgorithm(RADAR_HOST_ALGORITHM_MTT, record);
            break;
        case kConfigItemPcMod:
            record.HostProcessValue = kModProcessValue;
            ChooseHostAlgorithm(RADAR_HOST_ALGORITHM_MOD, record);
            break;
        case kConfigItemMcuMtt:
            record.SensorAlgorithmOption = 0;
            ChooseSensorAlgorithm(kSensorAlgorithmMtt, kSensorCodeMtt, record);
            break;
        case kConfigItemMcuMtt2:
            ChooseSensorAlgorithm(kSensorAlgorithmMtt2, kSensorCodeMtt2, record);
            break;
        default:
            return;
    }
    record.AlgorithmSelectFlag = 1;
}

bool SameAlgorithmFields(const tagRADARPARAMETER& a, const tagRADARPARAMETER& b) noexcept {
    return a.ProcessSite == b.ProcessSite && a.HostAlgorithm == b.HostAlgorithm &&
           a.SensorAlgorithm == b.SensorAlgorithm &&
           a.SensorAlgorithmOption == b.SensorAlgorithmOption &&
           a.SensorAlgorithmCode == b.SensorAlgorithmCode &&
           a.HostProcessFlag1 == b.HostProcessFlag1 && a.HostProcessFlag2 == b.HostProcessFlag2 &&
           a.HostProcessValue == b.HostProcessValue &&
           a.AlgorithmSelectFlag == b.AlgorithmSelectFlag;
}

}  // namespace zuvo

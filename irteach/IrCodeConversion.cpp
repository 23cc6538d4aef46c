#include "irteach/IrCodeConversion.h"

#include "devices/manager/Device.h"

namespace {

const char kIrType[] = "ir";
const char kTxOnlyType[] = "irtxonly";
// Learned signals are decoded more strictly than received codes.
const double kLearnedTolerance = 0.1;

const char kUnsupportedType[] =
    "Only the IRTXONLY and IR device file types are currently supported by this program";

} // namespace

void ConvertToTxOnly(CDevice& device)
{
    for (int i = 0; i < device.GetNumCodes(); ++i) {
        DeviceCode code = device.GetCode(i);
        if (!code.data.IsEmpty())
            device.SetCode(i, device.BuildIRTimings(code.data), code.name);
    }
    device.SetTypeWord(kTxOnlyType);
}

bool CanConvertToIR(const CDevice& device)
{
    return !device.GetTiming(CDevice::kOne).IsEmpty() && !device.GetTiming(CDevice::kZero).IsEmpty();
}

void ConvertToIR(CDevice& device)
{
    for (int i = 0; i < device.GetNumCodes(); ++i) {
        DeviceCode code = device.GetCode(i);
        if (!code.data.IsEmpty())
            device.SetCode(i, device.MatchPattern(code.data, nullptr), code.name);
    }
    device.SetTypeWord(kIrType);
}

std::unique_ptr<CDevice> LoadEditableDevice(const char* path, CString& message)
{
    message.Empty();
    std::unique_ptr<CDevice> device(new CDevice);
    if (!device->Load(path, 0, TRUE))
        return nullptr;
    device->SetTolerance(kLearnedTolerance);
    if (device->GetType() != kTxOnlyType && device->GetType() != kIrType) {
        message = kUnsupportedType;
        return nullptr;
    }
    if (device->GetType() == kIrType) {
        for (int i = 0; i < device->GetNumCodes(); ++i) {
            DeviceCode code = device->GetCode(i);
            device->SetCode(i, device->GetPrefix() + code.data + device->GetSuffix(), code.name);
        }
        device->ClearPrefixAndSuffix();
    }
    return device;
}

IrMode ModeOf(const CDevice& device)
{
    return device.GetType() == kIrType ? kIrMode : kIrTxOnlyMode;
}

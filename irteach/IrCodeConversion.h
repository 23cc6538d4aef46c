// The two forms of a device's IR codes: raw timings (IRTXONLY files, send
// only) and pattern digits decoded against the file's timing definitions (IR
// files, send and receive), the steps between them, and the device files the
// learner can edit.
#pragma once

#include <afx.h>

#include <memory>

class CDevice;

// The learner's two modes.
enum IrMode
{
    kIrTxOnlyMode = 0,
    kIrMode = 1,
};

// Every code's digits expanded into raw timings (empty data stays empty); the
// device becomes IRTXONLY.
void ConvertToTxOnly(CDevice& device);
// Decoding needs the one and zero timings.
bool CanConvertToIR(const CDevice& device);
// Every non-empty code decoded into digits; the device becomes IR.
void ConvertToIR(CDevice& device);

// The device file at path, ready for editing: an IR file's prefix and suffix
// are folded into its codes. Null when it cannot be loaded (the loader has
// told the user why) or is of a type the learner cannot edit (message says so).
std::unique_ptr<CDevice> LoadEditableDevice(const char* path, CString& message);
// The mode a loaded device is edited in.
IrMode ModeOf(const CDevice& device);

// Identification and clock speed of the processor the program runs on.
//
// Every function that queries CPUID raises EKYNCpuIdError with
// "Cannot acquire CPU information (CPUID not supported)" when the processor
// has no CPUID instruction (always so on processors other than x86) and with
// "CPUID: execution level not supported" when the leaf is refused (see
// CPUIDLeafRefused). CPU_IDSupport, CPU_Count, CPU_FDIVBugPresent and
// CPU_Speed never raise these errors. Nothing is kept between calls.
#pragma once

#include <cstdint>

#include "kyn/cpuid/decode.h"
#include "kyn/platform/string.h"

namespace kyn {

// True when bit 21 (mask 0x200000) of the flags register can be toggled,
// i.e. the CPUID instruction is available. False on non-x86 processors.
bool CPU_IDSupport();

// The CPUID query on this processor (see the executor form in decode.h).
TCPUIDRegs CPUIDQuery(uint32_t Leaf, int32_t Repeat = 1);

// Number of processors the operating system reports online (at least 1).
int32_t CPU_Count();

// The 12-character vendor text of leaf 0.
String CPU_VendorString();
// Leaf 1 EAX.
uint32_t CPU_Signature();
// Leaf 1 EDX; bit i is named by CPUFeatureNames[i].
uint32_t CPU_FeatureSet();
// Leaf 0x80000001 EDX.
uint32_t CPU_ExtendedFeatureSet();
// Leaf 1 EBX bits 0 to 7.
int32_t CPU_BrandID();

// The fields of CPU_Signature (0 when the signature is 0).
int32_t CPU_Type();
int32_t CPU_Family();
int32_t CPU_ExFamily();
int32_t CPU_Model();
int32_t CPU_ExModel();
int32_t CPU_Stepping();
// Processor type 1.
bool CPU_OverDrive();

// True when 4195835.0 / 3145727.0 * 3145727.0 - 4195835.0, computed at run
// time in double precision, is not exactly 0 (the historic division fault).
bool CPU_FDIVBugPresent();

// 24 hexadecimal digits: leaf 1 EAX, then EDX and ECX of leaf 1 queried again.
String CPU_SerialNumber();

// The trimmed marketing name of leaves 0x80000002 to 0x80000004, "" when it
// holds only blanks and zero characters, "unknown" when a control character
// remains inside it.
String CPU_MarketName();

// The time-stamp counter rate in MHz, measured over MeasureMs milliseconds of
// a monotonic millisecond clock (a MeasureMs of 0 is taken as 1). Blocks the
// thread for the measuring time plus up to 1 ms and runs it meanwhile at the
// highest scheduling priority it may take (see CPUSpeedMeasure). The counts
// start at the first tick change while the division uses the whole
// measuring time, so the result is low by about 1/MeasureMs (0.5 % for
// 200 ms; a MeasureMs of 1 gives about 0). On processors
// without a time-stamp counter instruction (non-x86) it returns 0 at once.
float CPU_Speed(uint32_t MeasureMs);

}  // namespace kyn

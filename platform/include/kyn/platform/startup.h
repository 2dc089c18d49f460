// Module start-up and shut-down.
//
// The modules start once per process in dependency order: constants, base,
// colours, strings, streams, HTML, data structures, CPU, file system. Start-up
// runs when the library is loaded (through a static initialiser) and, in any
// case, before the first use of state that depends on it (the random
// generator and the scramble tables call EnsureModulesStarted). Shut-down runs
// in reverse order at process exit.
#pragma once

namespace kyn {

// Runs the start-up of every module unless it ran already. Returns true when
// this call ran it, false when it had run before (a second start-up has no
// effect).
bool StartupModules();
inline void EnsureModulesStarted() { StartupModules(); }
// Runs the shut-down of every module once; later calls do nothing.
void ShutdownModules();
bool ModulesStarted();

namespace detail {
// Each module defines its own pair in its src/module.cpp.
void Startup_univconst();  void Shutdown_univconst();
void Startup_kynbase();    void Shutdown_kynbase();
void Startup_kyncolors();  void Shutdown_kyncolors();
void Startup_stringl();    void Shutdown_stringl();
void Startup_streams();    void Shutdown_streams();
void Startup_htmlsupport(); void Shutdown_htmlsupport();
void Startup_dstruct();    void Shutdown_dstruct();
void Startup_cpuid();      void Shutdown_cpuid();
void Startup_filesys();    void Shutdown_filesys();
}  // namespace detail

}  // namespace kyn

#pragma once

#include "host/consultation.h"

#include <QLibrary>
#include <QString>
#include <QVariantList>

namespace host {

// The module's exported entry: extern "C" void IniProc(const QVariantList& params).
using IniProcEntry = void (*)(const QVariantList& params);

inline constexpr char kIniProcName[] = "IniProc";

// The loaded module. Loading resolves every symbol at once, so a module built against
// something missing fails here, with its path, rather than in the middle of a
// consultation. The module stays loaded for the life of the process: its forms may
// outlive any object of the host.
class ModuleLoader
{
public:
    // Loads the module at path and resolves IniProc; throws HostError naming the path
    // when the file is missing, cannot be loaded, or does not export IniProc.
    explicit ModuleLoader(const QString& path);
    ModuleLoader(const ModuleLoader&) = delete;
    ModuleLoader& operator=(const ModuleLoader&) = delete;

    const QString& path() const { return m_path; }

    // Calls IniProc with the six-element list of the choice. Whatever the module throws
    // is passed on to the caller's action handler.
    void openConsultation(const ConsultationChoice& choice) const;

    // An exported function of the module other than IniProc, or null.
    QFunctionPointer resolve(const char* symbol);

private:
    QString m_path;
    QLibrary m_library;
    IniProcEntry m_iniProc = nullptr;
};

}  // namespace host

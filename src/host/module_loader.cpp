#include "host/module_loader.h"

#include "host/host_error.h"

#include <QFileInfo>

namespace host {

ModuleLoader::ModuleLoader(const QString& path) : m_path(path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw HostError(QStringLiteral("O módulo %1 não foi encontrado. Indique o caminho com "
                                       "--module.")
                            .arg(path));
    if (!info.isFile())
        throw HostError(QStringLiteral("O módulo %1 não é um arquivo.").arg(path));

    m_library.setFileName(info.absoluteFilePath());
    m_library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!m_library.load())
        throw HostError(QStringLiteral("Não foi possível carregar o módulo %1: %2")
                            .arg(path, m_library.errorString()));

    m_iniProc = reinterpret_cast<IniProcEntry>(m_library.resolve(kIniProcName));
    if (!m_iniProc) {
        m_library.unload();
        throw HostError(QStringLiteral("O módulo %1 não exporta a função %2.")
                            .arg(path, QLatin1String(kIniProcName)));
    }
}

void ModuleLoader::openConsultation(const ConsultationChoice& choice) const
{
    m_iniProc(iniProcParams(choice));
}

QFunctionPointer ModuleLoader::resolve(const char* symbol)
{
    return m_library.resolve(symbol);
}

}  // namespace host

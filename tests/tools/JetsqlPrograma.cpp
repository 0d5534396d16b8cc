#include "tests/tools/JetsqlPrograma.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "TDirTemporal.h"

std::string FixtureMdb(const std::string& sNombre) {
    return std::string(KOVA_FIXTURES) + "/mdb/" + sNombre;
}

std::string ProgramaJetsql() {
    return std::string(KOVA_BINARY_DIR) + "/bin/jetsql";
}

TEjecucion EjecutaJetsqlCon(const std::vector<std::string>& args, const std::string& sEntrada,
                            unsigned long long nLimiteBytes) {
    TDirTemporal tmp;
    const std::string sIn = (tmp / "in").string(), sOut = (tmp / "out").string(),
                      sErr = (tmp / "err").string();
    std::ofstream(sIn, std::ios::binary) << sEntrada;
    const std::string sPrograma = ProgramaJetsql();
    std::vector<char*> argv{const_cast<char*>(sPrograma.c_str())};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(open(sIn.c_str(), O_RDONLY), 0);
        dup2(open(sOut.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        dup2(open(sErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        if (nLimiteBytes) {
            const rlimit limite{nLimiteBytes, nLimiteBytes};
            setrlimit(RLIMIT_AS, &limite);
        }
        execv(sPrograma.c_str(), argv.data());
        _exit(127);
    }
    int nEstado = 0;
    waitpid(pid, &nEstado, 0);
    return {WIFEXITED(nEstado) ? WEXITSTATUS(nEstado) : -1, Lee(sOut), Lee(sErr)};
}

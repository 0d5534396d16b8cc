#include "tests/tools/ProgramaLotes.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>

#include "TDirTemporal.h"

namespace fs = std::filesystem;

std::string Lee(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), {});
}

TEjecucion EjecutaPrograma(const std::string& sPrograma, const std::vector<std::string>& args) {
    TDirTemporal tmp;
    const std::string sOut = (tmp / "out").string(), sErr = (tmp / "err").string();
    // Everything the child needs is ready before the fork: a test program
    // may have threads, and the child must not allocate before exec.
    std::vector<char*> argv{const_cast<char*>(sPrograma.c_str())};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int fo = open(sOut.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int fe = open(sErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fo, 1);
        dup2(fe, 2);
        execv(sPrograma.c_str(), argv.data());
        _exit(127);
    }
    int nEstado = 0;
    waitpid(pid, &nEstado, 0);
    return {WIFEXITED(nEstado) ? WEXITSTATUS(nEstado) : -1, Lee(sOut), Lee(sErr)};
}

std::vector<std::vector<std::string>> LeeCsv(const std::string& s) {
    std::vector<std::vector<std::string>> filas(1, std::vector<std::string>(1));
    bool bComillas = false;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (bComillas) {
            if (c == '"' && i + 1 < s.size() && s[i + 1] == '"')
                filas.back().back() += s[++i];
            else if (c == '"')
                bComillas = false;
            else
                filas.back().back() += c;
        } else if (c == '"') {
            bComillas = true;
        } else if (c == ',') {
            filas.back().emplace_back();
        } else if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
            ++i;
            filas.emplace_back(1);
        } else {
            filas.back().back() += c;
        }
    }
    EXPECT_EQ(filas.back(), std::vector<std::string>(1)) << "sin CR LF al final";
    filas.pop_back();
    return filas;
}

std::map<int, std::string> PorPregunta(const std::string& sCsv, const std::string& sColumna) {
    const auto filas = LeeCsv(sCsv);
    EXPECT_EQ(filas.size(), 196u);
    if (filas.empty())
        return {};
    EXPECT_EQ(filas[0], (std::vector<std::string>{"pregunta", sColumna}));
    std::map<int, std::string> r;
    for (size_t i = 1; i < filas.size(); ++i) {
        EXPECT_EQ(filas[i].size(), 2u);
        EXPECT_EQ(filas[i][0], std::to_string(i));
        r[static_cast<int>(i)] = filas[i].at(1);
    }
    return r;
}

std::map<std::string, std::string> Foto(const fs::path& dir) {
    std::map<std::string, std::string> r;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        r[fs::relative(e.path(), dir).string()] = e.is_regular_file() ? Lee(e.path()) : "<dir>";
    return r;
}

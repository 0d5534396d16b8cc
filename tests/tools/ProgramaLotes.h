#pragma once

// Running a command-line program as a user does, and reading what the batch
// program writes: its CSV files and the folders it must leave alone.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

struct TEjecucion {
    int nSalida = -1;
    std::string sSalida;
    std::string sErrores;
};

std::string Lee(const std::filesystem::path& p);

// Runs sPrograma with the arguments as given (no shell), standard output and
// error caught in files of their own.
TEjecucion EjecutaPrograma(const std::string& sPrograma, const std::vector<std::string>& args);

// RFC 4180 rows (CR LF ends, quoted fields with doubled quotes).
std::vector<std::vector<std::string>> LeeCsv(const std::string& s);

// The two-column files: header, then question numbers 1 to 195 in order.
std::map<int, std::string> PorPregunta(const std::string& sCsv, const std::string& sColumna);

// Every file below a folder with its contents, to prove a run left it alone.
std::map<std::string, std::string> Foto(const std::filesystem::path& dir);

#include "tools/cuestionario-kova/CsvLotes.h"

#include "platform/jet/Csv.h"

std::string FilaCsv(std::initializer_list<std::string> campos) {
    return jet::FilaCsv(campos);
}

std::string FilaCsv(const std::vector<std::string>& campos) {
    return jet::FilaCsv(campos);
}

#include "platform/jet/ErroresJet.h"

#include <new>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace jet {

namespace {

struct FilaError {
    TErrorJet e;
    const char* sClase;
    const char* sMensaje;
};

using E = TErrorJet;

// One row per failure.
const FilaError kErrores[] = {
    {E::ArchivoInexistente, "EArchivoInexistente", "No se encontró el archivo '%1'."},
    {E::ArchivoIlegible, "EArchivoIlegible", "No se puede leer el archivo '%1'."},
    {E::ArchivoNoEsAccess, "EArchivoNoEsAccess",
     "El archivo '%1' no es una base de datos de Access."},
    {E::ArchivoDanado, "EArchivoNoEsAccess",
     "El archivo '%1' no es una base de datos de Access válida: está incompleto o dañado."},
    {E::CifradoDanado, "EArchivoNoEsAccess",
     "El archivo '%1' no es una base de datos de Access válida: la información de su cifrado "
     "está dañada (%2)."},
    {E::TablaDanada, "ETablaDanada",
     "No se puede leer la tabla '%1' del archivo '%2': su definición está dañada (%3)."},
    {E::ContrasenaInvalida, "EContrasenaInvalida", "No es una contraseña válida."},
    {E::ContrasenaRequerida, "EContrasenaRequerida",
     "El archivo '%1' está cifrado con una contraseña de base de datos: hay que indicarla para "
     "abrirlo."},
    {E::ContrasenaFaltante, "EContrasenaRequerida",
     "El archivo '%1' está protegido con una contraseña de base de datos: hay que indicarla "
     "para abrirlo."},
    {E::FormatoNoSoportado, "EFormatoNoSoportado",
     "No se puede abrir el archivo '%1': es %2, pero %3."},
    {E::TipoNoSoportado, "ETipoNoSoportado",
     "No se puede leer la columna '%2' de la tabla '%1': es de tipo %3, que este programa no lee."},
    {E::TablaInexistente, "ETablaInexistente", "No existe la tabla '%1' en el archivo '%2'."},
    {E::Sintaxis, "ESintaxis", "Error de sintaxis en la instrucción SQL cerca de '%1'."},
    {E::InstruccionNoValida, "ESintaxis",
     "Instrucción SQL no válida; se esperaba 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT' o "
     "'UPDATE'."},
    {E::CaracteresTrasFin, "ESintaxis",
     "Se encontraron caracteres después del final de la instrucción SQL."},
    {E::NumeroArgumentos, "ESintaxis",
     "Número incorrecto de argumentos usados con la función '%1' en la expresión."},
    {E::ColumnasUnion, "ESintaxis",
     "El número de columnas de las consultas de la unión no coincide."},
    {E::AgregadoMalUsado, "ESintaxis", "No se puede usar la función de agregado %1 en %2."},
    {E::TeniendoSinAgrupar, "ESintaxis",
     "La cláusula HAVING necesita GROUP BY o una función de agregado en las columnas."},
    {E::SubconsultaVariasColumnas, "ESintaxis",
     "Ha escrito una subconsulta que puede devolver más de un campo sin usar la palabra reservada "
     "EXISTS en la cláusula FROM de la consulta principal. Revise la instrucción SELECT de la "
     "subconsulta para solicitar un único campo."},
    {E::SoloLectura, "ESoloLectura",
     "La base de datos Norvex está abierta en modo de solo lectura: no se permite la "
     "instrucción %1."},
    {E::Anidamiento, "EAnidamiento",
     "La instrucción SQL es demasiado compleja: anida más de %1 niveles de paréntesis, "
     "operadores, funciones o subconsultas."},
    {E::Longitud, "ELongitud", "La instrucción SQL es demasiado larga: pasa de %1 MB."},
    {E::TablaNoEncontrada, "ETablaNoEncontrada", "No se encuentra la tabla o consulta '%1'."},
    {E::ParametroSinValor, "EParametroSinValor",
     "No se ha especificado un valor para el parámetro '%1': no hay ninguna columna con ese "
     "nombre."},
    {E::CampoAmbiguo, "ECampoAmbiguo",
     "El campo '%1' puede referirse a más de una tabla de la cláusula FROM."},
    {E::FuncionNoDefinida, "EFuncionNoDefinida", "Función '%1' no definida en la expresión."},
    {E::Agregado, "EAgregado",
     "Intentó ejecutar una consulta que no incluye la expresión especificada '%1' como parte "
     "de una función de agregado."},
    {E::TiposNoCoinciden, "ETiposNoCoinciden",
     "No coinciden los tipos de datos en la expresión: '%1'."},
    {E::DivisionPorCero, "EDivisionPorCero", "División por cero."},
    {E::ArgumentoNoValido, "EArgumentoNoValido",
     "Llamada a procedimiento o argumento no válido en '%1'."},
    {E::PatronNoValido, "EArgumentoNoValido", "Cadena de patrón no válida."},
    {E::Desbordamiento, "EDesbordamiento", "Desbordamiento al convertir '%1'."},
    {E::DesbordamientoOperacion, "EDesbordamiento",
     "Desbordamiento: el resultado de una operación no cabe en un número Double."},
    {E::DemasiadoCompleja, "EAnidamiento",
     "La instrucción SQL es demasiado compleja para el motor: %1."},
    {E::Memoria, "EMemoria", "No hay memoria suficiente para ejecutar la instrucción."},
    {E::Interrumpida, "EInterrumpida", "Se interrumpió la ejecución de la instrucción."},
    {E::ResultadoGrande, "ELongitud",
     "Un valor del resultado es demasiado grande para el motor: %1."},
    {E::Motor, "EMotorSql", "Error al ejecutar la instrucción: %1"},
    {E::CopiaNoPreparada, "EMotorSql", "No se pudo preparar la copia de la base de datos: %1"},
    {E::BaseNoCreada, "EMotorSql", "No se pudo crear la base de datos en memoria."},
    {E::TablaNoCopiada, "EMotorSql", "No se pudo copiar la tabla '%1': %2"},
    {E::Interno, "EInterno", "Falla interna del programa: %1"},
    {E::ProveedorNoDisponible, "EProveedorNoDisponible",
     "El proveedor '%1' no está disponible en esta plataforma."},
    {E::ConexionCerrada, "EConexionCerrada", "La conexión no está abierta."},
    {E::ConsultaSinConexion, "EConexionCerrada", "La consulta no tiene conexión."},
    {E::ConsultaCerrada, "EConsultaCerrada",
     "No se puede realizar esta operación con la consulta cerrada."},
    {E::CampoNumeroInexistente, "ECampoNoEncontrado", "No existe el campo número %1."},
    {E::CampoNoEncontrado, "ECampoNoEncontrado", "No se encontró el campo '%1'."},
    {E::Conversion, "EConversion", "'%1' no es un valor %2 válido."},
    {E::EvidenciaFuenteUnica, "EEvidencia",
     "La evidencia solo se toma de un agregado que lee una sola tabla o consulta."},
    {E::EvidenciaSinAgregado, "EEvidencia", "La instrucción no calcula ningún agregado."},
    {E::EvidenciaOtroCalculo, "EEvidencia", "La instrucción de la pregunta %1 no calcula %2."},
    {E::EvidenciaNoCalculada, "EEvidencia", "La pregunta %1 no se calcula con la base de datos."},
    {E::EvidenciaSinConexion, "EEvidencia", "No hay conexión con la base de datos."},
    {E::OrdenDesconocida, "EOrdenDesconocida",
     "No existe la orden '%1'; .ayuda muestra las que hay."},
    {E::UsoOrden, "EArgumentos", "Uso: %1"},
    {E::LeerAnidados, "EArgumentos", "Demasiados .leer anidados en '%1'."},
    {E::SalidaEsElArchivo, "EArchivoSalida",
     "'%1' es el archivo de Access abierto: no se escribe en él."},
    {E::SalidaNoEscribible, "EArchivoSalida", "No se puede escribir en '%1'."},
    {E::GuionIlegible, "EArchivoInexistente", "No se puede leer el guion '%1'."},
    // A folder, a device or a FIFO where a file was named: the file reader's own
    // sentence, given without its final point.
    {E::EntradaNoComun, "EArchivoInexistente", "%1."},
    {E::TablaNoExiste, "ETablaInexistente", "No existe la tabla '%1'."},
    {E::AdjuntoNoEscrito, "EEscritura", "No se pudo escribir '%1': %2."},
    // The export says what failed and where, in its own words.
    {E::Exportacion, "EExportacion", "%1"},
};

// A kind without a row is a fault of the program, never some other failure.
const FilaError& Fila(TErrorJet e) {
    for (const auto& f : kErrores)
        if (f.e == e)
            return f;
    throw std::logic_error("fallo sin fila en la tabla de errores: " +
                           std::to_string(static_cast<int>(e)));
}

}  // namespace

const char* ClaseDe(TErrorJet e) {
    return Fila(e).sClase;
}

const char* MensajeDe(TErrorJet e) {
    return Fila(e).sMensaje;
}

EErrorJet ErrorJet(TErrorJet e, std::initializer_list<std::string> culpables) {
    const std::vector<std::string> partes(culpables);
    std::string s;
    for (const char* p = Fila(e).sMensaje; *p; ++p) {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') {
            const size_t i = static_cast<size_t>(p[1] - '1');
            if (i < partes.size())
                s += partes[i];
            ++p;
            continue;
        }
        s += *p;
    }
    return EErrorJet(e, Fila(e).sClase, s);
}

EErrorJet ErrorDeFallo(std::exception_ptr fallo) {
    try {
        std::rethrow_exception(fallo);
    } catch (const EErrorJet& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return ErrorJet(TErrorJet::Memoria);
    } catch (const std::system_error& e) {
        // A thread is refused with EAGAIN when its stack cannot be mapped.
        if (e.code() == std::errc::resource_unavailable_try_again ||
            e.code() == std::errc::not_enough_memory)
            return ErrorJet(TErrorJet::Memoria);
        return ErrorJet(TErrorJet::Interno, {e.what()});
    } catch (const std::exception& e) {
        return ErrorJet(TErrorJet::Interno, {e.what()});
    } catch (...) {
        // Nothing of ours throws anything else; said as our fault all the same.
        return ErrorJet(TErrorJet::Interno, {"excepción desconocida"});
    }
}

}  // namespace jet

#include "tools/mdbgen/EscritorMdb.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <set>

#include "platform/jet/Rc4.h"
#include "tools/mdbgen/ArchivoPaginas.h"
#include "tools/mdbgen/CodificaJet.h"
#include "tools/mdbgen/EErrorMdb.h"
#include "tools/mdbgen/MapaUso.h"
#include "tools/mdbgen/PaginaDatos.h"
#include "tools/mdbgen/TablaMdb.h"

namespace mdb {

namespace {

// Fixed places of the file: the header, the global page map and the system
// tables that Jet finds by page number.
constexpr uint32_t kPaginaCabecera = 0;
constexpr uint32_t kPaginaMapaGlobal = 1;
constexpr uint32_t kPaginaMSysObjects = 2;
constexpr uint32_t kPaginaMSysACEs = 3;
constexpr uint32_t kPaginaMSysQueries = 4;
constexpr uint32_t kPaginaMSysRelationships = 5;

// Catalogue identifiers of the containers every Access database has.
constexpr int64_t kRaiz = 0x0f000000;
constexpr int64_t kContTablas = 0x0f000001;
constexpr int64_t kContBases = 0x0f000002;
constexpr int64_t kContRelaciones = 0x0f000003;
constexpr int64_t kMSysDb = 0x10000000;
constexpr int64_t kBanderaSistema = -2147483648LL;  // 0x80000000 as a signed Long
constexpr int64_t kTipoTabla = 1, kTipoBase = 2, kTipoContenedor = 3;

// The short security identifiers Access writes for its built-in accounts,
// as owners in MSysObjects and in the permissions of MSysACEs, so that the
// default workgroup's Admin may open every object.
const std::string kSidSistema("\xcc\x16", 2);
const std::string kSidUsuarios("\xcd\x14", 2);
const std::string kSidAdmin("\xcc\x14", 2);
const std::string kSidAdmins("\xcc\x11", 2);
constexpr int64_t kTodo = 0xfffff, kTodoMenosAdministrar = 0xffeff;

using T = TTipoMdb;

std::string Minusculas(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

void ValidaNombre(const std::string& sNombre, const std::string& sQue) {
    const std::u16string u = Utf16DeUtf8(sNombre);
    if (u.empty() || u.size() > 64)
        throw EErrorMdb(sQue + " debe tener de 1 a 64 caracteres: \"" + sNombre + "\"");
    for (char16_t c : u)
        if (c < 0x20 || c == '.' || c == '!' || c == '`' || c == '[' || c == ']')
            throw EErrorMdb(sQue + " con un carácter que Access no admite: \"" + sNombre + "\"");
}

}  // namespace

TEscritorMdb::TEscritorMdb(const std::string& sRuta, TOpciones opciones)
    : paginaMapas_(std::make_unique<TPaginaDatos>()) {
    FijaOpciones(std::move(opciones));
    archivo_ = std::make_unique<TArchivoPaginas>(sRuta);
    while (archivo_->Paginas() <= kPaginaMSysRelationships) archivo_->Reserva();
}

TEscritorMdb::~TEscritorMdb() = default;

void TEscritorMdb::FijaOpciones(TOpciones opciones) {
    if (Utf16DeUtf8(opciones.sContrasena).size() > 20)
        throw EErrorMdb("la contraseña de la base de datos admite 20 caracteres como máximo");
    if (!(opciones.dFechaCreacion > -657435.0 && opciones.dFechaCreacion < 2958466.0))
        throw EErrorMdb("fecha de creación fuera del intervalo de Access");
    if (opciones.nVersion != kJet4 && opciones.nVersion != kAccess2007 &&
        opciones.nVersion != kAccess2010 && opciones.nVersion != kAccess2016)
        throw EErrorMdb("versión de archivo desconocida: " + std::to_string(opciones.nVersion));
    if (opciones.cifrado) {
        if (opciones.nVersion < kAccess2010 || opciones.sContrasena.empty())
            throw EErrorMdb(
                "el cifrado ágil es de archivos de Access 2010 en adelante con contraseña");
        TCifradorAgil::Valida(*opciones.cifrado);
    }
    opciones_ = std::move(opciones);
}

void TEscritorMdb::CreaTabla(const std::string& sNombre, const std::vector<TColumnaMdb>& columnas) {
    if (bCerrado_)
        throw EErrorMdb("el archivo ya está cerrado");
    ValidaNombre(sNombre, "el nombre de tabla");
    if (Minusculas(sNombre).rfind("msys", 0) == 0)
        throw EErrorMdb("el nombre de tabla " + sNombre + " está reservado para Access");
    auto iguales = [&](const std::unique_ptr<TTablaMdb>& t) {
        return t && Minusculas(t->Nombre()) == Minusculas(sNombre);
    };
    if (iguales(actual_) || std::any_of(terminadas_.begin(), terminadas_.end(), iguales))
        throw EErrorMdb("la tabla " + sNombre + " está repetida");
    if (columnas.empty() || columnas.size() > 255)
        throw EErrorMdb("la tabla " + sNombre + " debe tener de 1 a 255 columnas");
    std::set<std::string> vistos;
    for (const TColumnaMdb& c : columnas) {
        ValidaNombre(c.sNombre, "el nombre de columna");
        if (!vistos.insert(Minusculas(c.sNombre)).second)
            throw EErrorMdb("la columna " + c.sNombre + " está repetida en " + sNombre);
        if ((c.eTipo == T::tmTexto || c.eTipo == T::tmBinario) &&
            (c.nTamano < 1 || c.nTamano > 255))
            throw EErrorMdb("columna " + c.sNombre + ": el tamaño debe ser de 1 a 255");
        if (c.eTipo == T::tmFechaExtendida && opciones_.nVersion < kAccess2016)
            throw EErrorMdb("columna " + c.sNombre +
                            ": Fecha/Hora extendida es de Access 2016 en adelante");
        if (c.bCalculada && opciones_.nVersion < kAccess2010)
            throw EErrorMdb("columna " + c.sNombre +
                            ": los campos calculados son de Access 2010 en adelante");
        if (c.bCalculada && (c.eTipo == T::tmMemo || c.eTipo == T::tmOLE ||
                             c.eTipo == T::tmBinario || c.eTipo == T::tmMultivalor))
            throw EErrorMdb("columna " + c.sNombre + ": ese tipo no se escribe calculado");
        if (c.eTipo == T::tmMultivalor) {
            if (opciones_.nVersion < kAccess2007)
                throw EErrorMdb("columna " + c.sNombre +
                                ": los campos multivalor son de Access 2007 en adelante");
            const T v = c.eTipoValores;
            if (v != T::tmByte && v != T::tmEntero && v != T::tmLargo && v != T::tmSimple &&
                v != T::tmDoble && v != T::tmTexto)
                throw EErrorMdb("columna " + c.sNombre +
                                ": un campo multivalor guarda números o textos");
            if (v == T::tmTexto && (c.nTamano < 1 || c.nTamano > 255))
                throw EErrorMdb("columna " + c.sNombre + ": el tamaño debe ser de 1 a 255");
        }
    }
    TerminaActual();
    actual_ = std::make_unique<TTablaMdb>(*archivo_, sNombre, columnas, archivo_->Reserva(), false);
    nMultivaloresActual_ = multivalores_.size();
    for (const TColumnaMdb& c : columnas)
        if (c.eTipo == T::tmMultivalor)
            multivalores_.push_back({sNombre, actual_->PaginaTdef(), c, {}});
}

void TEscritorMdb::CreaTablaSistema(const std::string& sNombre,
                                    const std::vector<TColumnaMdb>& columnas, uint32_t nPagina) {
    TerminaActual();
    actual_ = std::make_unique<TTablaMdb>(*archivo_, sNombre, columnas, nPagina, true);
}

void TEscritorMdb::AgregaFila(const std::vector<jet::TValor>& valores,
                              const std::vector<std::vector<jet::TValor>>& multivalores) {
    if (!actual_ || bCerrado_)
        throw EErrorMdb("no hay tabla abierta para agregar filas");
    const size_t nMultivalores = multivalores_.size() - nMultivaloresActual_;
    if (!multivalores.empty() && multivalores.size() != nMultivalores)
        throw EErrorMdb("la fila trae valores de " + std::to_string(multivalores.size()) +
                        " campos multivalor y la tabla tiene " + std::to_string(nMultivalores));
    if (nMultivalores == 0)
        return actual_->AgregaFila(valores);
    // Every row gets its key, with values or without, as Access numbers them.
    std::vector<jet::TValor> fila = valores;
    for (size_t i = 0, k = 0; i < fila.size() && k < nMultivalores; ++i) {
        TMultivalor& m = multivalores_[nMultivaloresActual_ + k];
        if (m.columna.sNombre != actual_->Columnas()[i].sNombre)
            continue;
        fila[i] = ++m.nFilas;
        if (!multivalores.empty())
            for (const jet::TValor& v : multivalores[k]) m.valores.emplace_back(m.nFilas, v);
        ++k;
    }
    actual_->AgregaFila(fila);
}

void TEscritorMdb::TerminaActual() {
    if (!actual_)
        return;
    actual_->Termina();
    terminadas_.push_back(std::move(actual_));
}

uint32_t TEscritorMdb::GuardaMapa(const std::vector<uint32_t>& paginas) {
    const std::vector<uint8_t> fila = CreaMapaUso(paginas, *archivo_);
    if (bMapasAbierta_ && !paginaMapas_->Cabe(fila.size())) {
        paginaMapas_->Escribe(*archivo_, nPaginaMapas_, 0);
        bMapasAbierta_ = false;
    }
    if (!bMapasAbierta_) {
        nPaginaMapas_ = archivo_->Reserva();
        bMapasAbierta_ = true;
    }
    return nPaginaMapas_ << 8 | uint32_t(paginaMapas_->Agrega(fila.data(), fila.size()));
}

void TEscritorMdb::Cierra() {
    if (bCerrado_)
        return;
    TerminaActual();
    EscribeMultivalores();
    EscribePermisos();
    CreaTablaSistema("MSysQueries",
                     {{"ObjectId", T::tmLargo},
                      {"Attribute", T::tmByte},
                      {"Order", T::tmBinario, 255},
                      {"Name1", T::tmTexto, 255},
                      {"Name2", T::tmTexto, 255},
                      {"Expression", T::tmMemo},
                      {"Flag", T::tmEntero},
                      {"LvExtra", T::tmLargo}},
                     kPaginaMSysQueries);
    CreaTablaSistema("MSysRelationships",
                     {{"szRelationship", T::tmTexto, 255},
                      {"grbit", T::tmLargo},
                      {"ccolumn", T::tmLargo},
                      {"icolumn", T::tmLargo},
                      {"szObject", T::tmTexto, 255},
                      {"szColumn", T::tmTexto, 255},
                      {"szReferencedObject", T::tmTexto, 255},
                      {"szReferencedColumn", T::tmTexto, 255}},
                     kPaginaMSysRelationships);
    EscribeCatalogo();
    TerminaActual();
    for (const auto& t : terminadas_) {
        const uint32_t nUsadas = GuardaMapa(t->PaginasDatos());
        const uint32_t nLibres = GuardaMapa({});
        std::vector<std::pair<uint32_t, uint32_t>> largos;
        for (const auto& l : t->Largos()) {
            const uint32_t nUsadasLargo = GuardaMapa(l.paginas);
            largos.emplace_back(nUsadasLargo, GuardaMapa({}));
        }
        t->EscribeTdef(nUsadas, nLibres, largos);
    }
    if (bMapasAbierta_)
        paginaMapas_->Escribe(*archivo_, nPaginaMapas_, 0);
    bMapasAbierta_ = false;
    EscribeMapaGlobal();
    if (opciones_.cifrado) {
        TCifradorAgil cifrador(opciones_.sContrasena, *opciones_.cifrado);
        CifraPaginas(cifrador);
        EscribeCabecera(&cifrador);
    } else {
        EscribeCabecera(nullptr);
    }
    archivo_->Cierra();
    bCerrado_ = true;
}

void TEscritorMdb::EscribePermisos() {
    std::vector<uint32_t> usuarias;
    for (const auto& t : terminadas_) usuarias.push_back(t->PaginaTdef());
    CreaTablaSistema("MSysACEs",
                     {{"ObjectId", T::tmLargo},
                      {"SID", T::tmBinario, 255},
                      {"ACM", T::tmLargo},
                      {"FInheritable", T::tmBooleano}},
                     kPaginaMSysACEs);
    auto ace = [&](int64_t nObjeto, const std::string& sSid, int64_t nPermisos, bool bHereda) {
        actual_->AgregaFila({nObjeto, sSid, nPermisos, bHereda});
    };
    for (int64_t nId = kBanderaSistema; nId < kBanderaSistema + 6; ++nId)
        for (const std::string* s : {&kSidAdmin, &kSidUsuarios, &kSidAdmins})
            ace(nId, *s, kTodo, true);
    ace(kContTablas, kSidAdmins, 983294, true);
    ace(kContTablas, kSidUsuarios, kTodoMenosAdministrar, true);
    ace(kContTablas, kSidAdmin, kTodoMenosAdministrar, true);
    ace(kContBases, kSidUsuarios, 393216, false);
    ace(kContRelaciones, kSidAdmins, 983294, true);
    ace(kContRelaciones, kSidUsuarios, 393217, false);
    ace(kContRelaciones, kSidAdmin, kTodo, true);
    ace(kMSysDb, kSidUsuarios, 393230, false);
    ace(kMSysDb, kSidAdmin, 14, false);
    for (uint32_t n : {kPaginaMSysObjects, kPaginaMSysACEs, kPaginaMSysQueries}) {
        ace(n, kSidUsuarios, 393216, false);
        ace(n, kSidAdmin, 20, false);
    }
    ace(kPaginaMSysRelationships, kSidUsuarios, 917504, false);
    ace(kPaginaMSysRelationships, kSidAdmin, 20, false);
    for (uint32_t n : usuarias) {
        ace(n, kSidUsuarios, kTodoMenosAdministrar, false);
        ace(n, kSidAdmin, kTodoMenosAdministrar, false);
    }
}

void TEscritorMdb::EscribeCatalogo() {
    CreaTablaSistema("MSysObjects",
                     {{"Id", T::tmLargo},
                      {"ParentId", T::tmLargo},
                      {"Name", T::tmTexto, 255},
                      {"Type", T::tmEntero},
                      {"DateCreate", T::tmFechaHora},
                      {"DateUpdate", T::tmFechaHora},
                      {"Owner", T::tmBinario, 255},
                      {"Flags", T::tmLargo},
                      {"Database", T::tmMemo},
                      {"Connect", T::tmMemo},
                      {"ForeignName", T::tmTexto, 255},
                      {"RmtInfoShort", T::tmBinario, 255},
                      {"RmtInfoLong", T::tmOLE},
                      {"Lv", T::tmOLE},
                      {"LvProp", T::tmOLE},
                      {"LvModule", T::tmOLE},
                      {"LvExtra", T::tmOLE}},
                     kPaginaMSysObjects);
    const jet::TFecha fecha{opciones_.dFechaCreacion};
    auto objeto = [&](int64_t nId, int64_t nPadre, const std::string& sNombre, int64_t nTipo,
                      int64_t nBanderas) {
        std::vector<jet::TValor> fila(17);
        fila[0] = nId;
        fila[1] = nPadre;
        fila[2] = sNombre;
        fila[3] = nTipo;
        fila[4] = fecha;
        fila[5] = fecha;
        fila[6] = nBanderas == kBanderaSistema && nTipo != kTipoBase ? kSidSistema : kSidUsuarios;
        fila[7] = nBanderas;
        actual_->AgregaFila(fila);
    };
    objeto(kContTablas, kRaiz, "Tables", kTipoContenedor, kBanderaSistema);
    objeto(kContBases, kRaiz, "Databases", kTipoContenedor, kBanderaSistema);
    objeto(kContRelaciones, kRaiz, "Relationships", kTipoContenedor, kBanderaSistema);
    objeto(kMSysDb, kContBases, "MSysDb", kTipoBase, kBanderaSistema);
    objeto(kPaginaMSysObjects, kContTablas, "MSysObjects", kTipoTabla, kBanderaSistema);
    for (const auto& t : terminadas_)
        if (t->PaginaTdef() <= kPaginaMSysRelationships)
            objeto(t->PaginaTdef(), kContTablas, t->Nombre(), kTipoTabla, kBanderaSistema);
    const char* contenedores[] = {"DataAccessPages", "Forms",   "Modules",
                                  "Reports",         "Scripts", "SysRel"};
    int64_t nId = kBanderaSistema;
    for (const char* s : contenedores) objeto(nId++, kRaiz, s, kTipoContenedor, 0);
    for (const auto& t : terminadas_)
        if (t->PaginaTdef() > kPaginaMSysRelationships)
            objeto(t->PaginaTdef(), kContTablas, t->Nombre(), kTipoTabla,
                   banderas_.count(t->PaginaTdef()) ? banderas_.at(t->PaginaTdef()) : 0);
}

// Each multi-valued field as Access keeps it: the template table of its
// values' type (MSysComplexType_Long...), a hidden table with the values
// ("Value", its own number and the row's key "_" + the field's name), and a
// row of MSysComplexColumns that ties field, template and hidden table.
void TEscritorMdb::EscribeMultivalores() {
    if (multivalores_.empty())
        return;
    constexpr int64_t kBanderasPlantilla = 0x80030000LL - 0x100000000LL;
    constexpr int64_t kBanderasPlana = 0x800a0000LL - 0x100000000LL;
    auto plantilla = [](T t) -> std::string {
        switch (t) {
            case T::tmByte:
                return "UnsignedByte";
            case T::tmEntero:
                return "Short";
            case T::tmLargo:
                return "Long";
            case T::tmSimple:
                return "IEEESingle";
            case T::tmDoble:
                return "IEEEDouble";
            default:
                return "Text";
        }
    };
    std::map<std::string, uint32_t> plantillas;
    std::vector<std::vector<jet::TValor>> filas;
    for (size_t k = 0; k < multivalores_.size(); ++k) {
        const TMultivalor& m = multivalores_[k];
        const TColumnaMdb valor{"Value", m.columna.eTipoValores, m.columna.nTamano};
        const std::string sPlantilla = "MSysComplexType_" + plantilla(valor.eTipo);
        if (!plantillas.count(sPlantilla)) {
            plantillas[sPlantilla] = archivo_->Reserva();
            banderas_[plantillas[sPlantilla]] = kBanderasPlantilla;
            CreaTablaSistema(sPlantilla, {valor}, plantillas[sPlantilla]);
        }
        // Access names it by a GUID; a number is as unique within the file.
        char sGuid[33];
        std::snprintf(sGuid, sizeof sGuid, "%032zX", k + 1);
        const uint32_t nPlana = archivo_->Reserva();
        banderas_[nPlana] = kBanderasPlana;
        // The row's own number is named after table and field, kept within
        // the 64 characters of a name.
        std::string sNumero = m.sTabla + "_" + m.columna.sNombre;
        for (size_t i = 0, nCaracteres = 0; i < sNumero.size(); ++i)
            if ((static_cast<unsigned char>(sNumero[i]) & 0xc0) != 0x80 && ++nCaracteres > 64) {
                sNumero.resize(i);
                break;
            }
        CreaTablaSistema("f_" + std::string(sGuid) + "_" + m.columna.sNombre,
                         {valor, {sNumero, T::tmLargo}, {"_" + m.columna.sNombre, T::tmLargo}},
                         nPlana);
        int64_t nId = 0;
        for (const auto& [nClave, v] : m.valores) actual_->AgregaFila({v, ++nId, nClave});
        filas.push_back({m.columna.sNombre, int64_t{plantillas[sPlantilla]}, int64_t{nPlana},
                         int64_t{m.nPaginaTabla}, static_cast<int64_t>(k + 1)});
    }
    const uint32_t nComplejas = archivo_->Reserva();
    banderas_[nComplejas] = kBanderaSistema;
    CreaTablaSistema("MSysComplexColumns",
                     {{"ColumnName", T::tmTexto, 255},
                      {"ComplexTypeObjectID", T::tmLargo},
                      {"FlatTableID", T::tmLargo},
                      {"ConceptualTableID", T::tmLargo},
                      {"ComplexID", T::tmLargo}},
                     nComplejas);
    for (const auto& f : filas) actual_->AgregaFila(f);
    TerminaActual();
}

void TEscritorMdb::EscribeMapaGlobal() {
    // Page 1 lists the pages Jet may reuse: none inside the file, and every
    // page after its end within the map's window.
    std::vector<uint8_t> libres(kLargoMapa, 0);
    for (uint32_t p = archivo_->Paginas(); p < uint32_t(kLargoMapa - 5) * 8; ++p)
        libres[5 + p / 8] |= uint8_t(1u << (p % 8));
    const std::vector<uint8_t> vacio(kLargoMapa, 0);
    TPaginaDatos pagina;
    pagina.Agrega(libres.data(), libres.size());
    pagina.Agrega(vacio.data(), vacio.size());
    pagina.Escribe(*archivo_, kPaginaMapaGlobal, kPaginaMapaGlobal);
}

void TEscritorMdb::CifraPaginas(TCifradorAgil& cifrador) {
    std::array<uint8_t, kPagina> p;
    for (uint32_t n = 1; n < archivo_->Paginas(); ++n) {
        archivo_->Lee(n, p.data());
        cifrador.CifraPagina(p.data(), p.size(), n);
        archivo_->Escribe(n, p.data());
    }
}

void TEscritorMdb::EscribeCabecera(TCifradorAgil* cifrador) {
    std::array<uint8_t, kPagina> p{};
    p[1] = 0x01;
    std::memcpy(&p[4], opciones_.nVersion == kJet4 ? "Standard Jet DB" : "Standard ACE DB", 15);
    p[0x14] = static_cast<uint8_t>(opciones_.nVersion);
    // From 0x18 on, 128 bytes are enciphered with RC4 under a fixed key.
    for (uint32_t i = 0; i < 6; ++i) PonU32(&p[0x18 + 4 * i], i == 0 ? 0x100 : i == 1 ? 0x101 : i);
    PonU16(&p[0x3c], 0x04e4);  // code page 1252
    // An encrypted file keeps its password nowhere: the encryption's
    // verifier tells it.
    const std::vector<uint8_t> clave =
        cifrador ? std::vector<uint8_t>{} : Ucs2(Utf16DeUtf8(opciones_.sContrasena));
    std::copy(clave.begin(), clave.end(), &p[0x42]);
    if (cifrador)
        PonU32(&p[0x3e], cifrador->ClaveBD());
    // The 40 password bytes are also masked with the whole days of the
    // creation date, so that the same password differs from file to file.
    uint8_t mascara[4];
    PonU32(mascara, uint32_t(int32_t(opciones_.dFechaCreacion)));
    for (int i = 0; i < 40; ++i) p[0x42 + i] ^= mascara[i % 4];
    PonU32(&p[0x6a], 0x11a6);
    PonU32(&p[0x6e], 0x0409);  // General sort order
    PonDoble(&p[0x72], opciones_.dFechaCreacion);
    jet::Rc4(jet::kClaveEncabezadoJet.data(), jet::kClaveEncabezadoJet.size(), &p[0x18], 128);
    if (cifrador) {
        const std::vector<uint8_t> informacion = cifrador->Informacion();
        if (0x299 + informacion.size() > 0xe00)
            throw EErrorMdb("la información del cifrado no cabe en la primera página");
        std::copy(informacion.begin(), informacion.end(), &p[0x299]);
    }
    PonU32(&p[0x98], 0x0659);
    std::memcpy(&p[0x9c], "4.0", 3);
    p[0xe00] = 0x10;
    p[0xe01] = 0x01;
    p[0xe02] = 0x23;
    p[0xe03] = 0x01;
    for (int i = 0xe04; i < kPagina; i += 2) p[i + 1] = 0x01;
    archivo_->Escribe(kPaginaCabecera, p.data());
}

}  // namespace mdb

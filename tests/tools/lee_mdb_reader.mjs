// Reads an Access file with the npm package mdb-reader (an implementation
// independent of libmdb) and prints it as JSON on stdout:
//   {"password": …, "tables": {"T": {"columns": [[name, type], …], "rows": [[…], …]}}}
// Dates become ISO texts, currency stays the reader's exact decimal text.
// Usage: node lee_mdb_reader.mjs FILE [PASSWORD [sistema]]; with "sistema"
// the system tables are listed too.
import MDBReader from "mdb-reader";
import { readFileSync } from "fs";

const [archivo, clave, sistema] = process.argv.slice(2);
const lector = new MDBReader(readFileSync(archivo), clave ? { password: clave } : undefined);
const tablas = {};
for (const nombre of lector.getTableNames({ systemTables: sistema === "sistema" })) {
    const tabla = lector.getTable(nombre);
    const columnas = tabla.getColumns();
    tablas[nombre] = {
        columns: columnas.map((c) => [c.name, c.type]),
        rows: tabla.getData().map((fila) =>
            columnas.map((c) => {
                const v = fila[c.name];
                if (v instanceof Date) return v.toISOString();
                return Buffer.isBuffer(v) ? v.toString("hex") : v;
            })),
    };
}
process.stdout.write(JSON.stringify({ password: lector.getPassword(), tables: tablas }));

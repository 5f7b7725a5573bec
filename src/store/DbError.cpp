#include "store/DbError.h"

#include <sqlcipher/sqlite3.h>

namespace store {

std::string MotivoErrore(int extendedCode, const std::string& engineText) {
    switch (extendedCode) {
        case SQLITE_CONSTRAINT_TRIGGER:
            return engineText;
        case SQLITE_CONSTRAINT_UNIQUE:
        case SQLITE_CONSTRAINT_PRIMARYKEY:
        case SQLITE_CONSTRAINT_ROWID:
            return "valore già presente";
        case SQLITE_CONSTRAINT_NOTNULL:
            return "valore obbligatorio mancante";
        case SQLITE_CONSTRAINT_FOREIGNKEY:
            return "riferimento a un dato inesistente";
        case SQLITE_READONLY_DBMOVED:
            return "l'archivio è stato sostituito da un altro programma";
        default:
            break;
    }
    switch (extendedCode & 0xFF) {
        case SQLITE_CORRUPT:
        case SQLITE_FORMAT:
            return "archivio danneggiato";
        case SQLITE_NOTADB:
            return "non è un archivio di Vendral 2005 o la password è diversa";
        case SQLITE_READONLY:
            return "archivio in sola lettura";
        case SQLITE_FULL:
            return "disco pieno";
        case SQLITE_CONSTRAINT:
            return "valore non ammesso dall'archivio";
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
        case SQLITE_PROTOCOL:
            return "archivio occupato da un'altra operazione";
        case SQLITE_CANTOPEN:
            return "impossibile aprire il file dell'archivio";
        case SQLITE_IOERR:
            return "errore di lettura o scrittura su disco";
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return "accesso all'archivio non consentito";
        case SQLITE_NOMEM:
            return "memoria insufficiente";
        case SQLITE_ABORT:
        case SQLITE_INTERRUPT:
            return "operazione interrotta";
        case SQLITE_SCHEMA:
            return "la struttura dell'archivio è cambiata";
        case SQLITE_TOOBIG:
            return "dato troppo grande";
        case SQLITE_MISMATCH:
            return "tipo di dato non valido";
        case SQLITE_NOLFS:
            return "archivio troppo grande per il disco";
        case SQLITE_RANGE:
            return "numero di parametri errato";
        case SQLITE_MISUSE:
            return "uso non valido dell'archivio";
        default:
            return "errore nell'istruzione SQL";
    }
}

}  // namespace store

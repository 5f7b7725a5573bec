# Builds an archive with the scenario file, then explains its applications from the command
# line: the untouched one agrees with the rules, the one changed by hand is flagged field by
# field, a missing number or archive ends with a message and exit status 1, and the archive is
# left exactly as it was.
file(REMOVE_RECURSE ${CARTELLA})
execute_process(COMMAND ${VENDRAL} --scenario ${SCENARIO} --keep ${CARTELLA}
                RESULT_VARIABLE esito OUTPUT_VARIABLE uscita)
if(NOT esito EQUAL 0)
  message(FATAL_ERROR "lo scenario non passa:\n${uscita}")
endif()
get_filename_component(nome ${SCENARIO} NAME_WE)
set(dati ${CARTELLA}/${nome})
file(SHA256 ${dati}/Vendral2005.mdb prima)
file(GLOB file_prima ${dati}/*)

# Runs --explain and checks the exit status and that the output holds each text in order.
function(spiega numero cartella atteso flusso)
  execute_process(COMMAND ${VENDRAL} --explain ${numero} --data-dir ${cartella}
                  RESULT_VARIABLE esito OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT esito EQUAL atteso)
    message(FATAL_ERROR "--explain ${numero}: uscita ${esito}, attesa ${atteso}\n${out}${err}")
  endif()
  set(testo "${${flusso}}")
  foreach(parte IN LISTS ARGN)
    string(FIND "${testo}" "${parte}" dove)
    if(dove LESS 0)
      message(FATAL_ERROR "--explain ${numero}: manca \"${parte}\" in\n${testo}")
    endif()
    math(EXPR dopo "${dove} + 1")
    string(SUBSTRING "${testo}" ${dopo} -1 testo)
  endforeach()
endfunction()

spiega(A001012005AB1 ${dati} 0 out
  "Domanda A001012005AB1 - ROSSI MARIO - presentata il 01/09/2006\n\nEsito secondo le regole: Domanda ammissibile\nContributo Regionale richiesto: 1.003,95\n"
  "    Risultato: Numero figli a carico = 1\n"
  "      Numero figli a carico: 1\n      Detrazione per figlio: 516,46\n    Risultato: Reddito per l'accesso = 12.483,54\n"
  "\nI risultati memorizzati coincidono con quelli che risultano dalle regole.\n")
spiega(A001012005AB2 ${dati} 0 out
  "Esito secondo le regole: Domanda ammissibile\n"
  "\nRisultati memorizzati diversi da quelli che risultano dalle regole:\n  Fascia: memorizzato A, secondo le regole B\n  Reddito superiore ai limiti di accesso: memorizzato sì, secondo le regole no\n  Contributo Regionale base: memorizzato 2.180,00, secondo le regole 880,00\n")
spiega(A001012005AB9 ${dati} 1 err "La domanda A001012005AB9 non è presente in archivio.\n")
spiega(A001012005AB1 ${CARTELLA}/manca 1 err "Archivio non trovato: ${CARTELLA}/manca/Vendral2005.mdb\n")

file(SHA256 ${dati}/Vendral2005.mdb dopo)
file(GLOB file_dopo ${dati}/*)
if(NOT prima STREQUAL dopo OR NOT file_prima STREQUAL file_dopo)
  message(FATAL_ERROR "--explain ha cambiato la cartella dei dati: ${file_prima} / ${file_dopo}")
endif()
if(EXISTS ${CARTELLA}/manca)
  message(FATAL_ERROR "--explain ha creato la cartella ${CARTELLA}/manca")
endif()

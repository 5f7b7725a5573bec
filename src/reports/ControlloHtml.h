#pragma once
// Checks of what a filled report hands to a text document, which would otherwise load any file
// or address it is pointed at and overflow its layout on huge numbers: the references to images
// and style sheets, and the numbers of HTML attributes and style sheets. Each check throws
// DefinizioneErrata with the reason, in Italian.
#include <string>
#include <string_view>
#include <vector>

namespace reports {

// The images a filled report names: files of the reports folder, and its charts.
struct Riferimenti {
    std::vector<std::string> file;
    std::size_t grafici = 0;
};

// "" when a reference may be loaded: nothing, a chart of the report ("grafico:N") or the
// relative name of a file of the reports folder; the reason otherwise (an absolute path, "..",
// an address with a scheme such as file:, http: or qrc:, characters a file name does not need).
std::string ErroreRiferimento(std::string_view nome);

// The full path of the image `nome` of the reports folder: a regular file inside the folder, not
// larger than the limit for images. Throws DefinizioneErrata.
std::string PercorsoImmagine(const std::string& cartella, std::string_view nome);

// A style sheet: the "stile" section, a <style> element or a style attribute. Refuses @import,
// escapes and numbers out of measure; the images named by url() are checked and added to
// riferimenti.
void ControllaStile(std::string_view css, Riferimenti& riferimenti);

// One attribute of an HTML element, its name in lower case and its value with character
// references decoded: sizes and spans within measure, images (src, background) from the reports
// folder, no external style sheet (<link href>), style attributes as style sheets.
void ControllaAttributo(std::string_view elemento, std::string_view nome, std::string_view valore,
                        Riferimenti& riferimenti);

// At most a few dozen characters of a text quoted in a message, cut between characters.
std::string Citazione(std::string_view testo);

}  // namespace reports

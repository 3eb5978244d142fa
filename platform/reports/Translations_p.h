#pragma once

namespace reports {

// Puts the engine's own texts (the preview's tools, the progress of a long report, the
// failures of exports and prints) in the process language: Spanish under a Spanish locale,
// English, as written, under any other. Installs the engine's translator on the application the
// first time it is called with one; the language follows the locale in use at each text.
void useTranslations();

} // namespace reports

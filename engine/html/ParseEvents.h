#pragma once
// The handlers a document parse calls in its host: linked resources, META
// elements, background sounds and scripts.
#include <functional>
#include <string>

namespace gui {
class TObject;
}

namespace engine {

// A LINK element: (sender, REL, REV, HREF).
using TLinkType = std::function<void(gui::TObject* sender, const std::string& rel, const std::string& rev,
                                     const std::string& href)>;
// A META element: (sender, HTTP-EQUIV, NAME, CONTENT).
using TMetaType = std::function<void(gui::TObject* sender, const std::string& httpEq, const std::string& name,
                                     const std::string& content)>;
// A BGSOUND element: (sender, SRC, LOOP, terminate).
using TSoundType = std::function<void(gui::TObject* sender, const std::string& src, int loop, bool terminate)>;
// A SCRIPT element: (sender, NAME, LANGUAGE, script text with CR LF line ends).
using TScriptEvent = std::function<void(gui::TObject* sender, const std::string& name, const std::string& language,
                                        const std::string& script)>;

}  // namespace engine

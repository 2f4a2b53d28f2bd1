// Feeds arbitrary names to the resolver, as found in a model in a Windows folder and in a
// folder of this system: a name a model may open must stay inside the model's folder, so
// the path it resolves to, judged again as a name found there, must be let through as it is.
// The folders do not exist, so no input reaches a file.

#include "document/name_resolver.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    for (const char* folder : {"C:\\kel-fuzz\\modelli", "/nonexistent-kel-fuzz/modelli"}) {
        const MyApp::ResolvedName model = MyApp::ResolveName(folder, name, MyApp::NameScope::Model);
        if (model.path.empty() != (model.refusal != MyApp::NameRefusal::None || name.empty()))
            std::abort();
        if (!model.path.empty()) {
            const MyApp::ResolvedName again =
                MyApp::ResolveName(folder, model.path, MyApp::NameScope::Model);
            if (again.refusal != MyApp::NameRefusal::None || again.path != model.path)
                std::abort();
        }
        for (const MyApp::NameScope scope : {MyApp::NameScope::Project, MyApp::NameScope::UsersWord}) {
            const MyApp::ResolvedName wider = MyApp::ResolveName(folder, name, scope);
            // What a model may open, a project and the user may open too.
            if (!model.path.empty() && wider.refusal != MyApp::NameRefusal::None)
                std::abort();
        }
    }
    return 0;
}

#include "vbscript/engine.h"

#include <cstdlib>
#include <new>
#include <string_view>

#include "vbscript/compiler.h"
#include "vbscript/parser.h"

namespace vbs {

namespace {

std::wstring_view SourceLine(std::wstring_view source, int line) {
    for (int current = 1; current < line; ++current) {
        const std::size_t end = source.find(L'\n');
        if (end == std::wstring_view::npos)
            return {};
        source.remove_prefix(end + 1);
    }
    std::wstring_view text = source.substr(0, source.find(L'\n'));
    if (!text.empty() && text.back() == L'\r')
        text.remove_suffix(1);
    return text;
}

} // namespace

Engine::Engine() : m_vm(m_scope, m_runtime) {
    m_runtime.SetObjects(&m_vm.Heap());
    const char* off = std::getenv("ORVO_VBS_NO_FAST_PATHS");
    if (off && *off && std::string_view(off) != "0")
        m_scope.fastPaths = false;
}

void Engine::Returned() {
    if (m_vm.CollectionDue())
        m_vm.CollectCycles();
}

bool Engine::AddCode(std::wstring_view source, SyntaxError* error) {
    const bool added = Add(source, error);
    Returned();
    return added;
}

bool Engine::Add(std::wstring_view source, SyntaxError* error) {
    SyntaxError failure;
    ParseResult parsed = Parse(source);
    if (parsed.error) {
        failure = *parsed.error;
    } else {
        std::unique_ptr<Procedure> globalCode;
        if (Compile(*parsed.program, m_scope, globalCode, failure)) {
            try {
                m_vm.Run(*globalCode, {});
                return true;
            } catch (const ScriptError& e) {
                failure = SyntaxError{
                    LanguageErrorNumber(e.number), e.description, m_vm.ErrorLine(), 0, {}};
            } catch (const std::bad_alloc&) {
                failure = SyntaxError{7, StandardErrorDescription(7), m_vm.ErrorLine(), 0, {}};
            }
        }
        if (failure.line > 0)
            failure.sourceLine = SourceLine(source, failure.line);
    }
    if (error)
        *error = std::move(failure);
    return false;
}

bool Engine::HasFunction(std::wstring_view name) const {
    auto it = m_scope.procedureIndex.find(FoldCase(name));
    return it != m_scope.procedureIndex.end() &&
           m_scope.procedures[static_cast<std::size_t>(it->second)]->defined;
}

int Engine::ParameterCount(std::wstring_view name) const {
    auto it = m_scope.procedureIndex.find(FoldCase(name));
    if (it == m_scope.procedureIndex.end())
        return -1;
    const Procedure& proc = *m_scope.procedures[static_cast<std::size_t>(it->second)];
    return proc.defined ? static_cast<int>(proc.paramByRef.size()) : -1;
}

bool Engine::Call(std::wstring_view name,
                  std::span<Value> args,
                  Value* result,
                  ScriptError* error) {
    const bool called = CallProcedure(name, args, result, error);
    Returned();
    return called;
}

bool Engine::CallProcedure(std::wstring_view name,
                           std::span<Value> args,
                           Value* result,
                           ScriptError* error) {
    ScriptError failure{35, StandardErrorDescription(35)};
    if (auto it = m_scope.procedureIndex.find(FoldCase(name)); it != m_scope.procedureIndex.end()) {
        Procedure& proc = *m_scope.procedures[static_cast<std::size_t>(it->second)];
        if (proc.defined) {
            try {
                Value value = m_vm.Run(proc, args);
                if (result)
                    *result = std::move(value);
                return true;
            } catch (const ScriptError& e) {
                failure = e;
                failure.number = LanguageErrorNumber(e.number);
                failure.line = m_vm.ErrorLine();
            } catch (const std::bad_alloc&) {
                failure = ScriptError{7, StandardErrorDescription(7)};
            }
        }
    }
    if (error)
        *error = std::move(failure);
    return false;
}

void Engine::AddNamedItem(std::wstring_view name, const Value& object) {
    const auto index = static_cast<std::size_t>(m_scope.DeclareGlobal(name, true));
    m_scope.globals[index] = object;
    m_scope.namedItem[index] = true;
}

bool Engine::RemoveNamedItem(std::wstring_view name) {
    const std::int32_t global = m_scope.globalIndex.Find(name);
    if (global < 0)
        return false;
    const auto index = static_cast<std::size_t>(global);
    m_scope.globals[index] = Value();
    m_scope.namedItem[index] = false;
    return true;
}

bool Engine::HasNamedItem(std::wstring_view name) const {
    const std::int32_t global = m_scope.globalIndex.Find(name);
    return global >= 0 && m_scope.namedItem[static_cast<std::size_t>(global)];
}

std::vector<std::wstring> Engine::NamedItems() const {
    std::vector<std::wstring> names;
    for (std::size_t index = 0; index < m_scope.namedItem.size(); ++index) {
        if (m_scope.namedItem[index])
            names.emplace_back(m_scope.globalIndex.NameOf(static_cast<std::int32_t>(index)));
    }
    return names;
}

void Engine::SetLimits(std::uint64_t maxSteps, int maxDepth) {
    m_vm.SetLimits(Limits{maxSteps, maxDepth});
}

} // namespace vbs

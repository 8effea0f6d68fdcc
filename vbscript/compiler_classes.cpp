#include "vbscript/procedure_compiler.h"

#include "vbscript/coerce.h"

namespace vbs::compiling {

void AddClassMember(ClassInfo& info,
                    const std::wstring& name,
                    Visibility visibility,
                    const Node* where,
                    const std::function<void(ClassInfo::Member&)>& set) {
    auto [it, added] = info.members.try_emplace(FoldCase(name));
    if (!added && (it->second.field >= 0 || it->second.method >= 0))
        throw CompileFailure{where, L"Name redefined"};
    it->second.isPublic = visibility != Visibility::Private;
    set(it->second);
}

std::shared_ptr<ClassInfo> DeclareClass(const ClassStmt& st,
                                        std::vector<const ProcedureStmt*>& bodies) {
    auto info = std::make_shared<ClassInfo>();
    info->name = st.name;
    for (const Stmt* m : st.members) {
        if (m->kind == StmtKind::Dim) {
            auto* dim = static_cast<const DimStmt*>(m);
            for (const VarDecl& v : dim->vars) {
                // Dim a() makes an array without dimensions, as at script level.
                ClassInfo::Field field{v.name,
                                       {},
                                       v.isArray && v.upperBounds.empty()
                                           ? Value::FromArray(Array::Create({}))
                                           : Value()};
                for (const Expr* bound : v.upperBounds)
                    field.upperBounds.push_back(ToLong(ConstantValue(bound)));
                const auto index = static_cast<std::int32_t>(info->fields.size());
                info->fields.push_back(std::move(field));
                AddClassMember(*info, v.name, dim->visibility, m, [&](ClassInfo::Member& member) {
                    member.field = index;
                });
            }
        } else if (m->kind == StmtKind::Const) {
            auto* cst = static_cast<const ConstStmt*>(m);
            for (const ConstDecl& c : cst->consts) {
                const auto index = static_cast<std::int32_t>(info->fields.size());
                info->fields.push_back(ClassInfo::Field{c.name, {}, ConstantValue(c.value)});
                AddClassMember(*info, c.name, cst->visibility, m, [&](ClassInfo::Member& member) {
                    member.field = index;
                });
            }
        } else if (m->kind == StmtKind::Procedure) {
            auto* proc = static_cast<const ProcedureStmt*>(m);
            const auto index = static_cast<std::int32_t>(bodies.size());
            bodies.push_back(proc);
            AddClassMember(*info, proc->name, proc->visibility, m, [&](ClassInfo::Member& mb) {
                std::int32_t* slot = &mb.method;
                if (proc->procKind == ProcedureKind::PropertyGet)
                    slot = &mb.get;
                else if (proc->procKind == ProcedureKind::PropertyLet)
                    slot = &mb.let;
                else if (proc->procKind == ProcedureKind::PropertySet)
                    slot = &mb.set;
                if (*slot >= 0 ||
                    (slot == &mb.method && (mb.get >= 0 || mb.let >= 0 || mb.set >= 0)))
                    throw CompileFailure{m, L"Name redefined"};
                *slot = index;
            });
            if (proc->isDefault)
                info->defaultMember = FoldCase(proc->name);
            const std::wstring key = FoldCase(proc->name);
            if (key == L"class_initialize")
                info->initialize = index;
            else if (key == L"class_terminate")
                info->terminate = index;
        } else {
            throw CompileFailure{m, L"Expected 'End'"};
        }
    }
    return info;
}

} // namespace vbs::compiling

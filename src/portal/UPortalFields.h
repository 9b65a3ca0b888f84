#pragma once

// The wire layout of every portal type: for each, its fields in wire order
// with their element names, expanded from the field lists of PortalService.h.
// Writer and reader both walk these tables.

#include "PortalService.h"

#include <cstddef>

namespace PortalService::Wire {

// Most fields of any type; the reader keeps one slot per field on the stack.
inline constexpr std::size_t MaxFields = 12;

template <class T> struct TFields;

// Visit(obj, visitor) calls visitor(name, member) for every field in order;
// obj may be const (writing) or not (reading). Name is the type's element
// name (for a request, the operation's).
#define ORV_WIRE_VISIT(type, name) v(#name, o.name);
#define ORV_WIRE_COUNT(type, name) +1
#define ORV_WIRE_TABLE(Type, FIELDS)                                                               \
    template <> struct TFields<PortalService::Type> {                                              \
        static constexpr char Name[] = #Type;                                                      \
        static constexpr std::size_t Count = 0 FIELDS(ORV_WIRE_COUNT);                             \
        static_assert(Count <= MaxFields, "raise MaxFields");                                      \
        template <class S, class V>                                                                \
        static void Visit([[maybe_unused]] S& o, [[maybe_unused]] V&& v) {                         \
            FIELDS(ORV_WIRE_VISIT)                                                                 \
        }                                                                                          \
    };
#define ORV_WIRE_DATA_TYPE(Type) ORV_WIRE_TABLE(Type, ORV_FIELDS_##Type)

ORV_WIRE_DATA_TYPE(PodaniePodavajucaOsoba)
ORV_WIRE_DATA_TYPE(PodanieObalkaDokumentObjekt)
ORV_WIRE_DATA_TYPE(PodanieObalkaDokument)
ORV_WIRE_DATA_TYPE(PodanieObalka)
ORV_WIRE_DATA_TYPE(Podanie)
ORV_WIRE_DATA_TYPE(SuborPisomnostiObalkaDokumentObjekt)
ORV_WIRE_DATA_TYPE(SuborPisomnostiObalkaDokument)
ORV_WIRE_DATA_TYPE(SuborPisomnostiObalka)
ORV_WIRE_DATA_TYPE(SuborPisomnosti)
ORV_WIRE_DATA_TYPE(TypObjektu)

#define ORV_WIRE_MESSAGES(operation, result)                                                       \
    ORV_WIRE_TABLE(operation, ORV_FIELDS_##operation)                                              \
    template <> struct TFields<PortalService::operation##Response> {                               \
        static constexpr std::size_t Count =                                                       \
            0 ORV_RESPONSE_FIELDS(operation, result, ORV_WIRE_COUNT);                              \
        static_assert(Count <= MaxFields, "raise MaxFields");                                      \
        template <class S, class V> static void Visit(S& o, V&& v) {                               \
            ORV_RESPONSE_FIELDS(operation, result, ORV_WIRE_VISIT)                                 \
        }                                                                                          \
    };
ORV_PORTAL_OPERATIONS(ORV_WIRE_MESSAGES)

#undef ORV_WIRE_MESSAGES
#undef ORV_WIRE_DATA_TYPE
#undef ORV_WIRE_TABLE
#undef ORV_WIRE_COUNT
#undef ORV_WIRE_VISIT

} // namespace PortalService::Wire

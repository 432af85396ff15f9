#pragma once

#include <cstddef>
#include <string_view>

#include "platform/foundation/Value.h"

namespace platform {

// One lexical unit of a predicate format.
struct PredicateToken {
    enum class Kind {
        End,
        Identifier, // one key-path component; `escaped` when written with a leading '#'
        Number,
        String,
        And,
        Or,
        Not,
        Between,
        In,
        True,
        False,
        Null,
        TruePredicate,
        FalsePredicate,
        Unsupported, // a word the full predicate syntax reserves but this subset does not implement
        Equal,
        NotEqual,
        Less,
        LessOrEqual,
        Greater,
        GreaterOrEqual,
        LeftParen,
        RightParen,
        LeftBrace,
        RightBrace,
        Comma,
        Dot,
    };

    Kind kind = Kind::End;
    std::size_t position = 0;
    std::string_view text; // the source spelling: a view into the format being read
    Value value;           // the literal's value for Number and String
    bool escaped = false;
};

} // namespace platform

#include "booklet/logic/booklet_rows.h"

#include "core/numbers.h"
#include "core/pregeo_row.h"
#include "core/text.h"
#include "header/logic/gnss_session.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <initializer_list>
#include <span>

namespace ferolan {
namespace {

// Appends a row in place: the row type, then each field closed by "|", then CR LF. The pieces
// are gathered in a buffer and appended to the string a buffer at a time: a booklet row has
// some twenty pieces, and appending each to the string costs more than copying it.
class RowWriter {
public:
    RowWriter(std::string &out, std::string_view type) : out_(out) {
        put(type);
        put('|');
    }
    RowWriter(const RowWriter &) = delete;
    RowWriter &operator=(const RowWriter &) = delete;

    RowWriter &field(std::string_view text) {
        put(text);
        return closeField();
    }
    // A name or description: a control character or a "|" would break the row, so each is
    // written as a blank.
    RowWriter &bookletField(std::string_view text) {
        blankControls(put(text), '|');
        return closeField();
    }
    RowWriter &xyzField(const Xyz &value, char decimalSeparator) {
        const char separator = writtenSeparator(decimalSeparator);
        number(value.X, 3, separator);
        put(';');
        number(value.Y, 3, separator);
        put(';');
        number(value.Z, 3, separator);
        return closeField();
    }
    RowWriter &termsField(const std::optional<VarianceTerms> &terms, char decimalSeparator) {
        if (!terms)
            return field("0;0;0;0;0;0");
        for (std::size_t i = 0; i < terms->size(); ++i) {
            if (i > 0)
                put(';');
            number((*terms)[i], 9, writtenSeparator(decimalSeparator));
        }
        return closeField();
    }
    void end() {
        put(kCrLf);
        flush();
    }

private:
    // A decimal separator other than "," or "." would survive the finishing pass.
    static char writtenSeparator(char decimalSeparator) {
        return decimalSeparator == '.' ? '.' : ',';
    }
    RowWriter &closeField() {
        put('|');
        return *this;
    }
    std::size_t room() const { return buffer_.size() - used_; }
    void flush() {
        out_.append(buffer_.data(), used_);
        used_ = 0;
    }
    void put(char c) {
        if (room() == 0)
            flush();
        buffer_[used_++] = c;
    }
    // Where the text landed, in the buffer or, for a text longer than the buffer, in the row.
    std::span<char> put(std::string_view text) {
        if (text.size() > room())
            flush();
        if (text.size() > room()) {
            const std::size_t from = out_.size();
            out_ += text;
            return std::span(out_.data() + from, text.size());
        }
        char *const at = buffer_.data() + used_;
        // An empty view may have no bytes at all to copy from.
        if (!text.empty())
            std::memcpy(at, text.data(), text.size());
        used_ += text.size();
        return std::span(at, text.size());
    }
    void number(double value, int decimals, char separator) {
        if (room() < kQuickDecimalRoom)
            flush();
        if (const std::size_t length = quickDecimalText(
                std::span<char, kQuickDecimalRoom>(buffer_.data() + used_, kQuickDecimalRoom),
                value, decimals, separator)) {
            used_ += length;
            return;
        }
        flush();
        appendDecimalText(out_, value, decimals, separator);
    }

    std::string &out_;
    // Room for a whole row 2 as the job's fields and everyday coordinates make it.
    std::array<char, 192> buffer_;
    std::size_t used_ = 0;
};

} // namespace

Xyz Calcola_vettore(const Xyz &point, const Xyz &Coord_master) {
    return {point.X - Coord_master.X, point.Y - Coord_master.Y, point.Z - Coord_master.Z};
}

std::string row6(const HeaderData &header) {
    return pregeoRow("6", {"L2", header.Txt_data + '-' + header.Txt_ora_inizio,
                           header.Txt_data + '-' + header.Txt_ora_fine,
                           sessionMethod(header.Cmb_metodo), "PDOP=1"});
}

std::string row1(std::string_view name, const Xyz &Coord_master, std::string_view description,
                 char decimalSeparator) {
    std::string row;
    RowWriter(row, "1")
        .bookletField(name)
        .xyzField(Coord_master, decimalSeparator)
        .field("0")
        .bookletField(description)
        .end();
    return row;
}

std::string row2(std::string_view name, const Xyz &vector, std::string_view description,
                 char decimalSeparator, const std::optional<VarianceTerms> &terms) {
    std::string row;
    appendRow2(row, name, vector, description, decimalSeparator, terms);
    return row;
}

void appendRow2(std::string &out, std::string_view name, const Xyz &vector,
                std::string_view description, char decimalSeparator,
                const std::optional<VarianceTerms> &terms) {
    RowWriter(out, "2")
        .bookletField(name)
        .xyzField(vector, decimalSeparator)
        .termsField(terms, decimalSeparator)
        .field("PDOP=1")
        .field("0")
        .bookletField(description)
        .end();
}

} // namespace ferolan

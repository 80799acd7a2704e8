// The fixed tables against the rules they follow: each row is derived here from the law's
// catalogue key, so a mistyped entry shows up as a difference from its derivation.
#include "core_test_support.h"

#include "board/hint.h"
#include "check/accepted_keys.h"

#include <QTest>

#include <set>

using namespace core_test;

namespace {

Tags withoutBrackets(Tags t) {
    std::erase_if(t, [](const std::string& s) { return s == "so" || s == "sz"; });
    return t;
}

Tags xyExchanged(Tags t) {
    for (std::string& s : t) {
        if (s == "x")
            s = "y";
        else if (s == "y")
            s = "x";
        else if (s == "no_x")
            s = "no_y";
        else if (s == "no_y")
            s = "no_x";
    }
    return t;
}

Tags law(const Tags& lhs, const Tags& rhs) {
    Tags t = lhs;
    t.push_back("равно");
    t.insert(t.end(), rhs.begin(), rhs.end());
    return t;
}

Tags lhsOperands(int n) {
    Tags t = leftSideTags(n);
    t.pop_back();
    return t;
}

enum Relation {
    None,
    SidesExchanged,
    XYExchanged,
    LhsOperandsExchanged,
    RhsOperandsExchanged,
    SecondBracketOperandsExchanged,
    RhsBracketsDropped,
    LhsBracketsDropped
};

// How each law's accepted alternative is made from its catalogue key; laws not listed have none.
struct RelationRow {
    Relation relation;
    std::vector<int> laws;
};
const std::vector<RelationRow> kRelations{
    {SidesExchanged, {1, 2, 3, 4, 21}},
    {XYExchanged, {7, 8}},
    {LhsOperandsExchanged, {15, 16, 17, 18, 19, 20}},
    {RhsOperandsExchanged, {22}},
    {SecondBracketOperandsExchanged, {23}},
    {RhsBracketsDropped, {5}},
    {LhsBracketsDropped, {6, 11}},
};

Relation relationOf(int n) {
    for (const RelationRow& row : kRelations)
        if (std::find(row.laws.begin(), row.laws.end(), n) != row.laws.end()) return row.relation;
    return None;
}

Tags derivedAlternative(int n) {
    const Tags lhs = lhsOperands(n), rhs = rightSideTags(n);
    switch (relationOf(n)) {
    case None:
        return {};
    case SidesExchanged:
        return law(rhs, lhs);
    case XYExchanged:
        return xyExchanged(lawTags(n));
    case LhsOperandsExchanged:
        return law(operandsExchanged(lhs), rhs);
    case RhsOperandsExchanged:
        return law(lhs, operandsExchanged(rhs));
    case SecondBracketOperandsExchanged: {
        // (A) и (B): B's operands exchanged inside its brackets.
        const auto op = std::find(rhs.begin(), rhs.end(), "sz") + 1;
        Tags second(op + 2, rhs.end() - 1);
        Tags out(rhs.begin(), op + 2);
        for (const std::string& t : operandsExchanged(second))
            out.push_back(t);
        out.push_back("sz");
        return law(lhs, out);
    }
    case RhsBracketsDropped:
        return law(lhs, withoutBrackets(rhs));
    case LhsBracketsDropped:
        return law(withoutBrackets(lhs), rhs);
    }
    return {};
}

} // namespace

class CatalogueTables : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void vocabularyHasTheSeventeenSymbols();
    void everyKeySplitsIntoOneLaw_data();
    void everyKeySplitsIntoOneLaw();
    void namesAndKeysSpotChecked();
    void leftSideLayoutFollowsTheKey_data() { perLaw(); }
    void leftSideLayoutFollowsTheKey();
    void hintRowFollowsTheKey_data() { perLaw(); }
    void hintRowFollowsTheKey();
    void rightSideKeyIsWhatFollowsEquals_data() { perLaw(); }
    void rightSideKeyIsWhatFollowsEquals();
    void alternativeFollowsItsRelation_data() { perLaw(); }
    void alternativeFollowsItsRelation();
    void onlyLaws5And6FillTheRow();
    void lawJudgedAtNamesOnlyTheLawPositions();

  private:
    static void perLaw() {
        QTest::addColumn<int>("n");
        for (int n = 1; n <= kLawCount; ++n)
            QTest::addRow("law %d", n) << n;
    }
};

void CatalogueTables::vocabularyHasTheSeventeenSymbols() {
    QCOMPARE(kVocabulary.size(), kSymbols.size());
    std::set<std::string_view> tags;
    for (const SymbolRow& row : kVocabulary) {
        tags.insert(row.tag);
        const SymbolFact& s = symbol(row.tag);
        QVERIFY2(s.paletteImage != 0, qPrintable(q(row.tag)));
        QCOMPARE(row.paletteImage, s.paletteImage);
        QVERIFY(row.glyph == s.glyph);
        QVERIFY(palettePicture(s.paletteImage) == Picture::blue(s.glyph));
        if (s.redImage != 0) QVERIFY(hintPicture(s.redImage) == Picture::red(s.glyph));
    }
    QCOMPARE(tags.size(), std::size_t(17));
    // Hidden red pictures exist only for Image38 … Image48, and nothing else is a palette image.
    QVERIFY(hintPicture(37) == Picture::nothing());
    QVERIFY(hintPicture(49) == Picture::nothing());
    QVERIFY(palettePicture(16) == Picture::nothing());
    QVERIFY(palettePicture(37) == Picture::nothing());
    std::set<std::string_view> spoken;
    for (const SymbolFact& s : kSymbols)
        spoken.insert(glyphSpokenName(s.glyph));
    QCOMPARE(spoken.size(), std::size_t(17));
}

void CatalogueTables::everyKeySplitsIntoOneLaw_data() {
    QTest::addColumn<QString>("key");
    for (int n = 1; n <= kLawCount; ++n) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        QTest::addRow("catalogue %d", n) << q(kLaws[i].key);
        if (!alternativeKeys[i].empty())
            QTest::addRow("alternative %d", n) << q(alternativeKeys[i]);
    }
}

void CatalogueTables::everyKeySplitsIntoOneLaw() {
    QFETCH(QString, key);
    const auto tags = splitKey(key.toStdString());
    QVERIFY(tags.has_value());
    QCOMPARE(std::count(tags->begin(), tags->end(), "равно"), 1);
    QVERIFY(tags->front() != "равно" && tags->back() != "равно");
}

void CatalogueTables::namesAndKeysSpotChecked() {
    QCOMPARE(q(kLaws[0].name), QStringLiteral("Переместительный закон для ИЛИ"));
    QCOMPARE(q(kLaws[0].key), QStringLiteral("xилиyравноyилиx"));
    QCOMPARE(q(kLaws[4].name), QStringLiteral("Распределительный закон для ИЛИ"));
    QCOMPARE(q(kLaws[4].key), QStringLiteral("xиsoyилиzszравноsoxиyszилиsoxиzsz"));
    QCOMPARE(q(kLaws[6].key), QStringLiteral("no_xno_ilino_yравноno_xиno_y"));
    QCOMPARE(q(kLaws[12].key), QStringLiteral("soxиyszилиsono_xиyszравноy"));
    QCOMPARE(q(kLaws[14].name), QStringLiteral("Операция переменной с её инверсией для ИЛИ"));
    QCOMPARE(q(kLaws[20].name), QStringLiteral("Закон двойного отрицания"));
    QCOMPARE(q(kLaws[20].key), QStringLiteral("no_no_xравноx"));
    QCOMPARE(q(kLaws[22].name),
             QStringLiteral("Запишите эквиваленцию как отрицание, дизъюнкцию и конъюнкцию"));
    QCOMPARE(q(kLaws[22].key), QStringLiteral("xekvyравноsono_xилиyszиsono_yилиxsz"));
    std::set<std::string_view> names;
    for (const Law& l : kLaws)
        names.insert(l.name);
    QCOMPARE(names.size(), std::size_t(kLawCount));
}

void CatalogueTables::leftSideLayoutFollowsTheKey() {
    QFETCH(int, n);
    const Tags lhs = leftSideTags(n);
    const LeftSideLayout& row = kLeftSideLayouts[static_cast<std::size_t>(n - 1)];
    for (std::size_t i = 0; i < row.size(); ++i)
        QCOMPARE(row[i], i < lhs.size() ? symbol(lhs[i]).paletteImage : 0);
}

void CatalogueTables::hintRowFollowsTheKey() {
    QFETCH(int, n);
    const HintRow& row = hintLayout[static_cast<std::size_t>(n - 1)];
    QCOMPARE(row.firstSlotImage, kFirstSlotImage + int(leftSideTags(n).size()));
    const Tags rhs = rightSideTags(n);
    for (std::size_t i = 0; i < row.redImages.size(); ++i) {
        if (i >= rhs.size()) {
            QCOMPARE(row.redImages[i], 0);
            continue;
        }
        QVERIFY(row.redImages[i] >= 38 && row.redImages[i] <= 48);
        QVERIFY2(hintPicture(row.redImages[i]) == Picture::red(symbol(rhs[i]).glyph),
                 qPrintable(QStringLiteral("place %1 should be red %2").arg(i).arg(q(rhs[i]))));
    }
    // The row ends inside the slot row.
    QVERIFY(row.firstSlotImage + int(rhs.size()) - 1 <= kFirstSlotImage + kSlotCount - 1);
}

void CatalogueTables::rightSideKeyIsWhatFollowsEquals() {
    QFETCH(int, n);
    const std::string_view key = kLaws[static_cast<std::size_t>(n - 1)].key;
    const std::string_view equals = "равно";
    QCOMPARE(q(rightSideKeys[static_cast<std::size_t>(n - 1)]),
             q(key.substr(key.find(equals) + equals.size())));
    QCOMPARE(q(rightSideKeys[static_cast<std::size_t>(n - 1)]), q(joinTags(rightSideTags(n))));
}

void CatalogueTables::alternativeFollowsItsRelation() {
    QFETCH(int, n);
    const std::string_view alternative = alternativeKeys[static_cast<std::size_t>(n - 1)];
    const Tags derived = derivedAlternative(n);
    QCOMPARE(q(alternative), q(joinTags(derived)));
    if (!derived.empty()) QVERIFY(alternative != kLaws[static_cast<std::size_t>(n - 1)].key);
}

void CatalogueTables::onlyLaws5And6FillTheRow() {
    for (int n = 1; n <= kLawCount; ++n) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        const std::size_t length = lawTags(n).size();
        QCOMPARE(length == std::size_t(kSlotCount), n == 5 || n == 6);
        QVERIFY(length <= std::size_t(kSlotCount));
        if (!alternativeKeys[i].empty())
            QVERIFY(splitKey(alternativeKeys[i])->size() < std::size_t(kSlotCount));
    }
}

void CatalogueTables::lawJudgedAtNamesOnlyTheLawPositions() {
    for (int cursor = -3; cursor <= 101; ++cursor) {
        const bool names = cursor >= 1 && cursor <= 45 && cursor % 2 != 0;
        QCOMPARE(lawJudgedAt(cursor), names ? (cursor + 1) / 2 : 0);
    }
}

QTEST_APPLESS_MAIN(CatalogueTables)
#include "tst_catalogue_tables.moc"

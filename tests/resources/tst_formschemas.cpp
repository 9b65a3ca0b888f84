#include "UFormTestSupport.h"

#include <QTest>

namespace {

// A document of the table: a small sheet with the namespace of a version,
// changed by exact text replacements. A replacement that finds nothing to
// replace would silently test the unchanged sheet, so it stops the run.
class TSheet {
public:
    TSheet(const QString& namespacePath, const char* body)
        : Text(QString::fromUtf8(body).replace(QStringLiteral("{ns}"), FormUri(namespacePath))) {}

    TSheet With(const QString& from, const QString& to) const {
        if (Text.count(from) != 1)
            qFatal("fixture edit: '%s' occurs %lld times", from.toUtf8().constData(),
                   static_cast<long long>(Text.count(from)));
        TSheet copy = *this;
        copy.Text.replace(from, to);
        return copy;
    }
    TSheet With(const char* from, const QString& to) const {
        return With(QString::fromUtf8(from), to);
    }
    TSheet With(const QString& from, const char* to) const {
        return With(from, QString::fromUtf8(to));
    }
    TSheet With(const char* from, const char* to) const {
        return With(QString::fromUtf8(from), QString::fromUtf8(to));
    }

    QByteArray Bytes() const { return Text.toUtf8(); }

private:
    QString Text;
};

const char kV01Path[] = "/DUNOR/Formulare/Podaj_v01";
const char kV02Path[] = "/DUNOR/Formulare/Podaj_v02";
const char kV03Path[] = "/DUNOR/Formulare/Podaj_v03";
const char kEnPath[] = "/DUNOR/Formulare/EN/Podaj_v01";

// The least a v01 and v02 sheet must hold: no payment, no PPP type, no return
// address, no services.
const char kMinimal[] = R"(<?xml version="1.0" encoding="utf-8"?>
<EPH xmlns="{ns}">
  <InfoEPH>
    <Mena>EUR</Mena><TypEPH>1</TypEPH><EPHID>H-1</EPHID><Datum>20240131</Datum>
    <PocetZasielok>1</PocetZasielok>
    <DruhZasielky>1</DruhZasielky><SposobSpracovania>1</SposobSpracovania>
    <Odosielatel>
      <OdosielatelID>ODS-1</OdosielatelID><Meno>Ľubomír</Meno><Priezvisko>Šťastný</Priezvisko>
      <Organizacia>Knihy, s.r.o.</Organizacia><Ulica>Štúrova 12</Ulica>
      <Mesto>Banská Štiavnica</Mesto><PSC>96901</PSC>
    </Odosielatel>
  </InfoEPH>
  <Zasielky>
    <Zasielka>
      <Adresat>
        <Meno>Zuzana</Meno><Priezvisko>Kováčová</Priezvisko><Organizacia/>
        <Ulica>Hlavná 45</Ulica><Mesto>Košice</Mesto><PSC>04001</PSC>
      </Adresat>
      <Info><CiarovyKod>RR1SK</CiarovyKod><Hmotnost>0,450</Hmotnost></Info>
    </Zasielka>
  </Zasielky>
</EPH>
)";

// v03 has a single name element.
const char kMinimalV03[] = R"(<?xml version="1.0" encoding="utf-8"?>
<EPH xmlns="{ns}">
  <InfoEPH>
    <Mena>EUR</Mena><TypEPH>1</TypEPH><EPHID>H-1</EPHID><Datum>20240131</Datum>
    <PocetZasielok>1</PocetZasielok>
    <DruhZasielky>1</DruhZasielky><SposobSpracovania>1</SposobSpracovania>
    <Odosielatel>
      <OdosielatelID>ODS-1</OdosielatelID><Meno>Ľubomír Šťastný</Meno>
      <Organizacia>Knihy, s.r.o.</Organizacia><Ulica>Štúrova 12</Ulica>
      <Mesto>Banská Štiavnica</Mesto><PSC>96901</PSC>
    </Odosielatel>
  </InfoEPH>
  <Zasielky>
    <Zasielka>
      <Adresat>
        <Meno>Zuzana Kováčová</Meno><Organizacia/>
        <Ulica>Hlavná 45</Ulica><Mesto>Košice</Mesto><PSC>04001</PSC>
      </Adresat>
      <Info><CiarovyKod>RR1SK</CiarovyKod><Hmotnost>0,450</Hmotnost></Info>
    </Zasielka>
  </Zasielky>
</EPH>
)";

// Every element of v01 present once (payments and services twice).
const char kFullV01[] = R"(<?xml version="1.0" encoding="utf-8"?>
<EPH xmlns="{ns}" verzia="0.1">
  <InfoEPH>
    <Mena>EUR</Mena><TypEPH>1</TypEPH><EPHID>H-1</EPHID><Datum>20240131</Datum>
    <PocetZasielok>1</PocetZasielok>
    <Uhrada><SposobUhrady>1</SposobUhrady><SumaUhrady>2,50</SumaUhrady></Uhrada>
    <Uhrada><SposobUhrady>3</SposobUhrady><SumaUhrady>0,80</SumaUhrady></Uhrada>
    <DruhPPP>5</DruhPPP><DruhZasielky>1</DruhZasielky><SposobSpracovania>1</SposobSpracovania>
    <Odosielatel>
      <OdosielatelID>ODS-1</OdosielatelID><Meno>Ľubomír</Meno><Priezvisko>Šťastný</Priezvisko>
      <Organizacia>Knihy, s.r.o.</Organizacia><Ulica>Štúrova 12</Ulica>
      <Mesto>Banská Štiavnica</Mesto><PSC>96901</PSC><Krajina>SK</Krajina>
      <Telefon>0456912233</Telefon><Email>info@knihy.example</Email>
      <CisloUctu>SK3112000000198742637541</CisloUctu>
      <PoradieZobrazeniaAdresy>1</PoradieZobrazeniaAdresy>
    </Odosielatel>
  </InfoEPH>
  <Zasielky>
    <Zasielka>
      <Adresat>
        <Meno>Zuzana</Meno><Priezvisko>Kováčová</Priezvisko><Organizacia/>
        <Ulica>Hlavná 45</Ulica><Mesto>Košice</Mesto><PSC>04001</PSC><Krajina>SK</Krajina>
        <Telefon>0905123456</Telefon><Email>zuzka@posta.example</Email>
        <PoradieZobrazeniaAdresy>2</PoradieZobrazeniaAdresy>
      </Adresat>
      <Spat>
        <Meno>Ľubomír</Meno><Priezvisko>Šťastný</Priezvisko><Organizacia>Knihy, s.r.o.</Organizacia>
        <Ulica>Štúrova 12</Ulica><Mesto>Banská Štiavnica</Mesto><PSC>96901</PSC>
        <Krajina>SK</Krajina><Telefon>0456912233</Telefon><Email>info@knihy.example</Email>
        <PoradieZobrazeniaAdresy>1</PoradieZobrazeniaAdresy>
      </Spat>
      <Info>
        <CiarovyKod>RR1SK</CiarovyKod><ZasielkaID>Z-1</ZasielkaID><Hmotnost>0,450</Hmotnost>
        <CenaDobierky>24,90</CenaDobierky><CenaPoistneho>150,00</CenaPoistneho>
        <CenaVyplatneho>2,75</CenaVyplatneho><Trieda>1</Trieda>
        <CisloUctu>SK3112000000198742637541</CisloUctu><SymbolPrevodu>7781</SymbolPrevodu>
        <Poznamka>Krehké</Poznamka><DruhPPP>5</DruhPPP><DruhZasielky>1</DruhZasielky>
        <DatumPrijatia>20240131</DatumPrijatia>
      </Info>
      <PouziteSluzby><Sluzba>D</Sluzba><Sluzba>DR</Sluzba></PouziteSluzby>
    </Zasielka>
  </Zasielky>
</EPH>
)";

const char kMinimalEn[] = R"(<?xml version="1.0" encoding="utf-8"?>
<EPS xmlns="{ns}">
  <EPSInfo>
    <Currency>EUR</Currency><EPSType>1</EPSType><EPSID>H-1</EPSID><Date>20240131</Date>
    <NumberOfItems>1</NumberOfItems>
    <PPPType>5</PPPType><ItemCategory>1</ItemCategory><Handling>4</Handling>
    <Sender>
      <SenderID>ODS-1</SenderID><Name>Ľubomír</Name><Surname>Šťastný</Surname>
      <Organization>Knihy, s.r.o.</Organization><Street>Štúrova 12</Street>
      <City>Banská Štiavnica</City><PostCode>96901</PostCode>
    </Sender>
  </EPSInfo>
  <Items>
    <Item>
      <Addressee>
        <Name>Zuzana</Name><Surname>Kováčová</Surname><Organization/>
        <Street>Hlavná 45</Street><City>Košice</City><PostCode>04001</PostCode>
      </Addressee>
      <Info><BarCode>RR1SK</BarCode><Weight>0,450</Weight></Info>
    </Item>
  </Items>
</EPS>
)";

const char kReportRq[] = R"(<?xml version="1.0" encoding="utf-8"?>
<ReportRQ xmlns="{ns}" verzia="0.1">
  <Info>
    <OdosielatelID>ODS-1</OdosielatelID>
    <DatumOd>20240101000000</DatumOd>
    <DatumDo>20240131235959</DatumDo>
  </Info>
</ReportRQ>
)";

const char kReportRqEn[] = R"(<?xml version="1.0" encoding="utf-8"?>
<ReportRQ xmlns="{ns}" version="0.1">
  <Info>
    <SenderID>ODS-1</SenderID>
    <DateFrom>20240101000000</DateFrom>
    <DateTo>20240131235959</DateTo>
  </Info>
</ReportRQ>
)";

const char kSpatWithPhone[] =
    "<Spat><Meno>Ľubomír</Meno><Priezvisko>Šťastný</Priezvisko>"
    "<Organizacia/><Ulica>Štúrova 12</Ulica><Mesto>Banská Štiavnica</Mesto>"
    "<PSC>96901</PSC><Telefon>0456912233</Telefon></Spat>";

const char kOneUdaj[] = "<DalsieUdaje><Udaj><Nazov>Objednávka</Nazov><Hodnota>7781</Hodnota></Udaj>"
                        "</DalsieUdaje>";

TSheet V01() {
    return TSheet(QString::fromLatin1(kV01Path), kMinimal);
}
TSheet V02() {
    return TSheet(QString::fromLatin1(kV02Path), kMinimal);
}
TSheet V03() {
    return TSheet(QString::fromLatin1(kV03Path), kMinimalV03);
}
TSheet FullV01() {
    return TSheet(QString::fromLatin1(kV01Path), kFullV01);
}
TSheet En() {
    return TSheet(QString::fromLatin1(kEnPath), kMinimalEn);
}
TSheet ReportRq() {
    return TSheet(QStringLiteral("/DUNOR/Formulare/ReportRQ_v01"), kReportRq);
}
TSheet ReportRqEn() {
    return TSheet(QStringLiteral("/DUNOR/Formulare/EN/ReportRQ_v01"), kReportRqEn);
}

// Where the minimal sheets' consignment closes, to add elements after Info.
const char kAfterInfo[] = "</Info>\n    </Zasielka>";

QString AfterInfo(const QString& elements) {
    return QStringLiteral("</Info>") + elements + QStringLiteral("\n    </Zasielka>");
}

QString AfterInfo(const char* elements) {
    return AfterInfo(QString::fromUtf8(elements));
}

} // namespace

Q_DECLARE_METATYPE(TVerdict)

class TTestFormSchemas : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void validates_data();
    void validates();
    void acceptsEverySample_data();
    void acceptsEverySample();
    void refusesSamplesOfOtherVersions_data();
    void refusesSamplesOfOtherVersions();

private:
    static void Row(const char* name, const char* schema, const TSheet& sheet, TVerdict verdict);
};

void TTestFormSchemas::Row(const char* name, const char* schema, const TSheet& sheet,
                           TVerdict verdict) {
    QTest::newRow(name) << QString::fromLatin1(schema) << sheet.Bytes() << verdict;
}

void TTestFormSchemas::validates_data() {
    QTest::addColumn<QString>("schema");
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<TVerdict>("verdict");

    const TVerdict valid = TVerdict::Valid;
    const TVerdict invalid = TVerdict::Invalid;
    const char* v1 = "PODAJ_XSD";
    const char* v2 = "PODAJ_XSD_V2";
    const char* v3 = "PODAJ_XSD_V3";
    const char* en = "PODAJ_XSD_EN";

    // Required and optional elements.
    Row("v01 minimal", v1, V01(), valid);
    Row("v01 every element", v1, FullV01(), valid);
    Row("v01 services without a service", v1,
        FullV01().With("<Sluzba>D</Sluzba><Sluzba>DR</Sluzba>", ""), valid);
    Row("v01 no Zasielka", v1, V01().With("<Zasielka>", "<!--").With("</Zasielka>", "-->"),
        invalid);
    Row("v01 no Zasielky", v1, V01().With("<Zasielky>", "<!--").With("</Zasielky>", "-->"),
        invalid);
    Row("v01 two Zasielka", v1,
        V01().With("</Zasielka>", "</Zasielka><Zasielka><Adresat><Meno/><Priezvisko/><Organizacia/>"
                                  "<Ulica/><Mesto/><PSC/></Adresat><Info><CiarovyKod/><Hmotnost/>"
                                  "</Info></Zasielka>"),
        valid);
    Row("v01 no Mena", v1, V01().With("<Mena>EUR</Mena>", ""), invalid);
    Row("v01 no Odosielatel/Organizacia", v1,
        V01().With("<Organizacia>Knihy, s.r.o.</Organizacia>", ""), invalid);
    Row("v01 Uhrada without SumaUhrady", v1,
        V01().With("<DruhZasielky>",
                   "<Uhrada><SposobUhrady>1</SposobUhrady></Uhrada><DruhZasielky>"),
        invalid);
    Row("v01 no SposobSpracovania", v1, V01().With("<SposobSpracovania>1</SposobSpracovania>", ""),
        invalid);
    Row("v02 no SposobSpracovania", v2, V02().With("<SposobSpracovania>1</SposobSpracovania>", ""),
        valid);
    Row("v03 no SposobSpracovania", v3, V03().With("<SposobSpracovania>1</SposobSpracovania>", ""),
        valid);
    Row("v01 no Hmotnost", v1, V01().With("<Hmotnost>0,450</Hmotnost>", ""), invalid);
    Row("v02 no Hmotnost", v2, V02().With("<Hmotnost>0,450</Hmotnost>", ""), valid);
    Row("v03 no Hmotnost", v3, V03().With("<Hmotnost>0,450</Hmotnost>", ""), valid);
    Row("v01 no CiarovyKod", v1, V01().With("<CiarovyKod>RR1SK</CiarovyKod>", ""), invalid);
    Row("v02 empty Info", v2,
        V02().With("<CiarovyKod>RR1SK</CiarovyKod><Hmotnost>0,450</Hmotnost>", ""), valid);
    Row("v03 empty Info", v3,
        V03().With("<CiarovyKod>RR1SK</CiarovyKod><Hmotnost>0,450</Hmotnost>", ""), valid);
    Row("v02 no Info", v2,
        V02().With("<Info><CiarovyKod>RR1SK</CiarovyKod><Hmotnost>0,450</Hmotnost></Info>", ""),
        invalid);
    Row("v02 Objem PocetKusov ObsahZasielky", v2,
        V02().With("</Hmotnost>", "</Hmotnost><DatumPrijatia/><Objem>0,002</Objem>"
                                  "<PocetKusov>2</PocetKusov><ObsahZasielky>Knihy</ObsahZasielky>"),
        valid);
    Row("v01 Objem", v1, V01().With("</Hmotnost>", "</Hmotnost><Objem>0,002</Objem>"), invalid);
    Row("v01 Adresat with CisloUctu", v1,
        V01().With("<PSC>04001</PSC>", "<PSC>04001</PSC><CisloUctu>SK31</CisloUctu>"), invalid);

    // Positive integers refuse 0; the counts and amounts held as text accept anything.
    Row("v01 TypEPH 0", v1, V01().With("<TypEPH>1</TypEPH>", "<TypEPH>0</TypEPH>"), invalid);
    Row("v01 TypEPH -1", v1, V01().With("<TypEPH>1</TypEPH>", "<TypEPH>-1</TypEPH>"), invalid);
    Row("v01 TypEPH empty", v1, V01().With("<TypEPH>1</TypEPH>", "<TypEPH/>"), invalid);
    Row("v01 TypEPH 1.5", v1, V01().With("<TypEPH>1</TypEPH>", "<TypEPH>1.5</TypEPH>"), invalid);
    Row("v01 TypEPH huge", v1,
        V01().With("<TypEPH>1</TypEPH>", "<TypEPH>12345678901234567890</TypEPH>"), valid);
    Row("v01 SposobUhrady 0", v1,
        V01().With("<DruhZasielky>", "<Uhrada><SposobUhrady>0</SposobUhrady>"
                                     "<SumaUhrady>1</SumaUhrady></Uhrada><DruhZasielky>"),
        invalid);
    Row("v01 DruhZasielky 0", v1,
        V01().With("<DruhZasielky>1</DruhZasielky>", "<DruhZasielky>0</DruhZasielky>"), invalid);
    Row("v01 SposobSpracovania 0", v1,
        V01().With("<SposobSpracovania>1</SposobSpracovania>",
                   "<SposobSpracovania>0</SposobSpracovania>"),
        invalid);
    Row("v01 header DruhPPP 0", v1,
        V01().With("<DruhZasielky>", "<DruhPPP>0</DruhPPP><DruhZasielky>"), invalid);
    Row("v01 header DruhPPP 7", v1,
        V01().With("<DruhZasielky>", "<DruhPPP>7</DruhPPP><DruhZasielky>"), valid);
    Row("v01 Odosielatel PoradieZobrazeniaAdresy 0", v1,
        V01().With("<PSC>96901</PSC>",
                   "<PSC>96901</PSC><PoradieZobrazeniaAdresy>0</PoradieZobrazeniaAdresy>"),
        invalid);
    Row("v01 Adresat PoradieZobrazeniaAdresy 0", v1,
        V01().With("<PSC>04001</PSC>",
                   "<PSC>04001</PSC><PoradieZobrazeniaAdresy>0</PoradieZobrazeniaAdresy>"),
        invalid);
    Row("v01 Info DruhPPP 0", v1, V01().With("</Hmotnost>", "</Hmotnost><DruhPPP>0</DruhPPP>"),
        invalid);
    Row("v01 Info DruhZasielky 0", v1,
        V01().With("</Hmotnost>", "</Hmotnost><DruhZasielky>0</DruhZasielky>"), invalid);
    Row("v02 PocetKusov 0", v2, V02().With("</Hmotnost>", "</Hmotnost><PocetKusov>0</PocetKusov>"),
        invalid);
    Row("v02 PocetKusov 1", v2, V02().With("</Hmotnost>", "</Hmotnost><PocetKusov>1</PocetKusov>"),
        valid);
    Row("v01 PocetZasielok as a word", v1,
        V01().With("<PocetZasielok>1</PocetZasielok>", "<PocetZasielok>jedna</PocetZasielok>"),
        valid);
    Row("v01 SumaUhrady with currency", v1,
        V01().With("<DruhZasielky>", "<Uhrada><SposobUhrady>1</SposobUhrady>"
                                     "<SumaUhrady>12,50 €</SumaUhrady></Uhrada><DruhZasielky>"),
        valid);
    Row("v01 Hmotnost as text", v1,
        V01().With("<Hmotnost>0,450</Hmotnost>", "<Hmotnost>asi pol kila</Hmotnost>"), valid);
    Row("v01 Hmotnost empty", v1, V01().With("<Hmotnost>0,450</Hmotnost>", "<Hmotnost/>"), valid);

    // Order.
    Row("v01 TypEPH before Mena", v1,
        V01().With("<Mena>EUR</Mena><TypEPH>1</TypEPH>", "<TypEPH>1</TypEPH><Mena>EUR</Mena>"),
        invalid);
    Row("v01 DruhPPP after DruhZasielky", v1,
        V01().With("<DruhZasielky>1</DruhZasielky>",
                   "<DruhZasielky>1</DruhZasielky><DruhPPP>5</DruhPPP>"),
        invalid);
    Row("v01 Hmotnost before CiarovyKod", v1,
        V01().With("<CiarovyKod>RR1SK</CiarovyKod><Hmotnost>0,450</Hmotnost>",
                   "<Hmotnost>0,450</Hmotnost><CiarovyKod>RR1SK</CiarovyKod>"),
        invalid);
    Row("v01 PouziteSluzby before Info", v1, V01().With("<Info>", "<PouziteSluzby/><Info>"),
        invalid);
    Row("v01 PouziteSluzby after Info", v1, V01().With(kAfterInfo, AfterInfo("<PouziteSluzby/>")),
        valid);
    Row("v01 Spat before Adresat", v1,
        V01().With(
            "<Adresat>",
            "<Spat><Meno/><Priezvisko/><Organizacia/><Ulica/><Mesto/><PSC/></Spat><Adresat>"),
        invalid);
    Row("v02 Objem before DatumPrijatia", v2,
        V02().With("</Hmotnost>", "</Hmotnost><Objem>1</Objem><DatumPrijatia/>"), invalid);
    Row("v02 DalsieUdaje before PouziteSluzby", v2,
        V02().With(kAfterInfo,
                   AfterInfo(QString::fromUtf8(kOneUdaj) + QStringLiteral("<PouziteSluzby/>"))),
        invalid);
    Row("v02 DalsieUdaje after PouziteSluzby", v2,
        V02().With(kAfterInfo,
                   AfterInfo(QStringLiteral("<PouziteSluzby/>") + QString::fromUtf8(kOneUdaj))),
        valid);
    Row("v03 Ulica before Organizacia", v3,
        V03().With("<Organizacia/>\n        <Ulica>Hlavná 45</Ulica>",
                   "<Ulica>Hlavná 45</Ulica><Organizacia/>"),
        invalid);
    Row("en Weight before BarCode", en,
        En().With("<BarCode>RR1SK</BarCode><Weight>0,450</Weight>",
                  "<Weight>0,450</Weight><BarCode>RR1SK</BarCode>"),
        invalid);

    // Names: the surname, the display order and the return address per version.
    Row("v01 Adresat without Priezvisko", v1, V01().With("<Priezvisko>Kováčová</Priezvisko>", ""),
        invalid);
    Row("v02 Adresat without Priezvisko", v2, V02().With("<Priezvisko>Kováčová</Priezvisko>", ""),
        invalid);
    Row("v03 Adresat with Priezvisko", v3,
        V03().With("<Meno>Zuzana Kováčová</Meno>",
                   "<Meno>Zuzana</Meno><Priezvisko>Kováčová</Priezvisko>"),
        invalid);
    Row("v03 Odosielatel with Priezvisko", v3,
        V03().With("<Meno>Ľubomír Šťastný</Meno>",
                   "<Meno>Ľubomír</Meno><Priezvisko>Šťastný</Priezvisko>"),
        invalid);
    Row("v03 Adresat PoradieZobrazeniaAdresy", v3,
        V03().With("<PSC>04001</PSC>",
                   "<PSC>04001</PSC><PoradieZobrazeniaAdresy>1</PoradieZobrazeniaAdresy>"),
        invalid);
    Row("v03 Odosielatel PoradieZobrazeniaAdresy", v3,
        V03().With("<PSC>96901</PSC>",
                   "<PSC>96901</PSC><PoradieZobrazeniaAdresy>1</PoradieZobrazeniaAdresy>"),
        invalid);
    Row("v03 Odosielatel CisloUctu Telefon Email", v3,
        V03().With("<PSC>96901</PSC>",
                   "<PSC>96901</PSC><Krajina>SK</Krajina><Telefon>0456</Telefon>"
                   "<Email>a@b.example</Email><CisloUctu>SK31</CisloUctu>"),
        valid);
    Row("v01 Spat with Telefon", v1,
        V01().With("</Adresat>", QStringLiteral("</Adresat>") + QString::fromUtf8(kSpatWithPhone)),
        valid);
    Row("v02 Spat with Telefon", v2,
        V02().With("</Adresat>", QStringLiteral("</Adresat>") + QString::fromUtf8(kSpatWithPhone)),
        valid);
    Row("v03 Spat with Telefon", v3,
        V03().With("</Adresat>",
                   "</Adresat><Spat><Meno>Ľubomír Šťastný</Meno><Organizacia/><Ulica/>"
                   "<Mesto/><PSC/><Telefon>0456912233</Telefon></Spat>"),
        invalid);
    Row("v03 Spat with Email", v3,
        V03().With("</Adresat>",
                   "</Adresat><Spat><Meno>Ľubomír Šťastný</Meno><Organizacia/><Ulica/>"
                   "<Mesto/><PSC/><Email>a@b.example</Email></Spat>"),
        invalid);
    Row("v03 Spat with Krajina", v3,
        V03().With("</Adresat>",
                   "</Adresat><Spat><Meno>Ľubomír Šťastný</Meno><Organizacia/><Ulica/>"
                   "<Mesto/><PSC/><Krajina>SK</Krajina></Spat>"),
        valid);
    Row("v03 Spat without Krajina", v3,
        V03().With("</Adresat>",
                   "</Adresat><Spat><Meno>Ľubomír Šťastný</Meno><Organizacia/><Ulica/>"
                   "<Mesto/><PSC/></Spat>"),
        valid);

    // Further data.
    Row("v02 one Udaj", v2, V02().With(kAfterInfo, AfterInfo(kOneUdaj)), valid);
    Row("v02 two Udaj", v2,
        V02().With(kAfterInfo,
                   AfterInfo("<DalsieUdaje><Udaj><Nazov>A</Nazov><Hodnota>1</Hodnota>"
                             "</Udaj><Udaj><Nazov>B</Nazov><Hodnota/></Udaj></DalsieUdaje>")),
        valid);
    Row("v02 DalsieUdaje without Udaj", v2, V02().With(kAfterInfo, AfterInfo("<DalsieUdaje/>")),
        invalid);
    Row("v03 DalsieUdaje without Udaj", v3, V03().With(kAfterInfo, AfterInfo("<DalsieUdaje/>")),
        invalid);
    Row("v02 Udaj without Hodnota", v2,
        V02().With(kAfterInfo,
                   AfterInfo("<DalsieUdaje><Udaj><Nazov>A</Nazov></Udaj></DalsieUdaje>")),
        invalid);
    Row("v02 Udaj without Nazov", v2,
        V02().With(kAfterInfo,
                   AfterInfo("<DalsieUdaje><Udaj><Hodnota>1</Hodnota></Udaj></DalsieUdaje>")),
        invalid);
    Row("v03 Udaj with Hodnota before Nazov", v3,
        V03().With(kAfterInfo, AfterInfo("<DalsieUdaje><Udaj><Hodnota>1</Hodnota><Nazov>A</Nazov>"
                                         "</Udaj></DalsieUdaje>")),
        invalid);
    Row("v01 DalsieUdaje", v1, V01().With(kAfterInfo, AfterInfo(kOneUdaj)), invalid);

    // The root attribute and the namespaces.
    Row("v01 verzia", v1, V01().With("<EPH xmlns", "<EPH verzia=\"0.1\" xmlns"), valid);
    Row("v01 version", v1, V01().With("<EPH xmlns", "<EPH version=\"0.1\" xmlns"), invalid);
    Row("v01 qualified verzia", v1,
        V01().With("<EPH xmlns=\"", "<EPH e:verzia=\"0.1\" xmlns:e=\"x:e\" xmlns=\""), invalid);
    Row("v01 sheet under v02", v2, V01(), invalid);
    Row("v01 sheet under v03", v3, V01(), invalid);
    Row("v02 sheet under v01", v1, V02(), invalid);
    Row("v03 namespace with v03 content under v02", v2, V03(), invalid);
    Row("v01 sheet under en", en, V01(), invalid);
    Row("v01 sheet without namespace", v1,
        V01().With(QStringLiteral(" xmlns=\"") + FormUri(QString::fromLatin1(kV01Path)) + u'"', ""),
        invalid);

    // The English variant.
    Row("en minimal", en, En(), valid);
    Row("en without PPPType", en, En().With("<PPPType>5</PPPType>", ""), invalid);
    Row("en version", en, En().With("<EPS xmlns", "<EPS version=\"0.1\" xmlns"), valid);
    Row("en verzia", en, En().With("<EPS xmlns", "<EPS verzia=\"0.1\" xmlns"), invalid);
    Row("en Info PPPType", en, En().With("</Weight>", "</Weight><PPPType>5</PPPType>"), valid);
    Row("en no Weight", en, En().With("<Weight>0,450</Weight>", ""), invalid);

    // The report request and its length limits, counted in characters.
    const char* rq = "REPORTRQ_XSD";
    const char* rqEn = "REPORTRQ_XSD_EN";
    Row("rq valid", rq, ReportRq(), valid);
    Row("rq OdosielatelID of 20", rq, ReportRq().With("ODS-1", "ŽŽŽŽŽŽŽŽŽŽŽŽŽŽŽŽŽŽŽŽ"), valid);
    Row("rq OdosielatelID of 21", rq, ReportRq().With("ODS-1", "123456789012345678901"), invalid);
    Row("rq empty OdosielatelID", rq,
        ReportRq().With("<OdosielatelID>ODS-1</OdosielatelID>", "<OdosielatelID/>"), valid);
    Row("rq DatumOd of 15", rq, ReportRq().With("20240101000000", "202401010000000"), invalid);
    Row("rq DatumDo of 15", rq, ReportRq().With("20240131235959", "202401312359590"), invalid);
    Row("rq DatumDo as text", rq, ReportRq().With("20240131235959", "31.1.2024"), valid);
    Row("rq no DatumDo", rq, ReportRq().With("<DatumDo>20240131235959</DatumDo>", ""), invalid);
    Row("rq DatumDo before DatumOd", rq,
        ReportRq().With("<DatumOd>20240101000000</DatumOd>\n    <DatumDo>20240131235959</DatumDo>",
                        "<DatumDo>20240131235959</DatumDo><DatumOd>20240101000000</DatumOd>"),
        invalid);
    Row("rq two Info", rq,
        ReportRq().With("</Info>", "</Info><Info><OdosielatelID/><DatumOd/><DatumDo/></Info>"),
        invalid);
    Row("rq no Info", rq, ReportRq().With("<Info>", "<!--").With("</Info>", "-->"), invalid);
    Row("rq version", rq, ReportRq().With("verzia=", "version="), invalid);
    Row("rq under en", rqEn, ReportRq(), invalid);
    Row("rq en valid", rqEn, ReportRqEn(), valid);
    Row("rq en SenderID of 21", rqEn, ReportRqEn().With("ODS-1", "123456789012345678901"), invalid);
    Row("rq en DateFrom of 15", rqEn, ReportRqEn().With("20240101000000", "202401010000000"),
        invalid);
    Row("rq en verzia", rqEn, ReportRqEn().With("version=\"0.1\">", "verzia=\"0.1\">"), invalid);
}

void TTestFormSchemas::validates() {
    QFETCH(QString, schema);
    QFETCH(QByteArray, document);
    QFETCH(TVerdict, verdict);

    const TValidation result = Validate(ReadForm(schema), document);
    QVERIFY2(result.Verdict != TVerdict::Broken, qPrintable(result.Messages));
    QVERIFY2(result.Verdict == verdict,
             qPrintable(verdict == TVerdict::Valid ? result.Messages : QStringLiteral("accepted")));
}

void TTestFormSchemas::acceptsEverySample_data() {
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("schema");
    QTest::newRow("v01") << QStringLiteral("eph-v01.xml") << QStringLiteral("PODAJ_XSD");
    QTest::newRow("v02") << QStringLiteral("eph-v02.xml") << QStringLiteral("PODAJ_XSD_V2");
    QTest::newRow("v03") << QStringLiteral("eph-v03.xml") << QStringLiteral("PODAJ_XSD_V3");
    QTest::newRow("en") << QStringLiteral("eph-v01-en.xml") << QStringLiteral("PODAJ_XSD_EN");
}

void TTestFormSchemas::acceptsEverySample() {
    QFETCH(QString, sample);
    QFETCH(QString, schema);
    const QByteArray document = ReadExample(sample);
    QVERIFY2(!document.isEmpty(), qPrintable(sample));
    const TValidation result = Validate(ReadForm(schema), document);
    QVERIFY2(result.Verdict == TVerdict::Valid, qPrintable(result.Messages));
}

void TTestFormSchemas::refusesSamplesOfOtherVersions_data() {
    const QStringList samples{QStringLiteral("eph-v01.xml"), QStringLiteral("eph-v02.xml"),
                              QStringLiteral("eph-v03.xml"), QStringLiteral("eph-v01-en.xml")};
    const QStringList schemas{QStringLiteral("PODAJ_XSD"), QStringLiteral("PODAJ_XSD_V2"),
                              QStringLiteral("PODAJ_XSD_V3"), QStringLiteral("PODAJ_XSD_EN")};
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("schema");
    for (qsizetype s = 0; s < samples.size(); ++s)
        for (qsizetype x = 0; x < schemas.size(); ++x)
            if (s != x)
                QTest::addRow("%s under %s", qPrintable(samples[s]), qPrintable(schemas[x]))
                    << samples[s] << schemas[x];
}

void TTestFormSchemas::refusesSamplesOfOtherVersions() {
    QFETCH(QString, sample);
    QFETCH(QString, schema);
    const TValidation result = Validate(ReadForm(schema), ReadExample(sample));
    QCOMPARE(result.Verdict, TVerdict::Invalid);
}

QTEST_GUILESS_MAIN(TTestFormSchemas)
#include "tst_formschemas.moc"

#include "UFormTestSupport.h"

#include <QTest>

namespace {

QByteArray Doc(const char* namespacePath, const char* body) {
    return QString::fromUtf8(body)
        .replace(QStringLiteral("{ns}"), FormUri(QString::fromLatin1(namespacePath)))
        .toUtf8();
}

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

const char kV01[] = "/DUNOR/Formulare/Podaj_v01";
const char kV02[] = "/DUNOR/Formulare/Podaj_v02";
const char kV03[] = "/DUNOR/Formulare/Podaj_v03";
const char kEn[] = "/DUNOR/Formulare/EN/Podaj_v01";

const char kTitle[] = "\n"
                      "Elektronický podací hárok\n"
                      "=========================\n"
                      "\n";

// Two payments, a full sender, one consignment with every detail, a return
// address and two services.
const char kFullV01[] = R"(<?xml version="1.0" encoding="utf-8"?>
<EPH xmlns="{ns}"><InfoEPH>
  <Mena>EUR</Mena><TypEPH>1</TypEPH><EPHID>H-1</EPHID><Datum>20240131</Datum>
  <PocetZasielok>1</PocetZasielok>
  <Uhrada><SposobUhrady>1</SposobUhrady><SumaUhrady>2,50</SumaUhrady></Uhrada>
  <Uhrada><SposobUhrady>3</SposobUhrady><SumaUhrady>0,80</SumaUhrady></Uhrada>
  <DruhPPP>5</DruhPPP><DruhZasielky>1</DruhZasielky><SposobSpracovania>2</SposobSpracovania>
  <Odosielatel>
    <OdosielatelID>ODS-1</OdosielatelID><Meno>Ľubomír</Meno><Priezvisko>Šťastný</Priezvisko>
    <Organizacia>Knihy, s.r.o.</Organizacia><Ulica>Štúrova 12</Ulica>
    <Mesto>Banská Štiavnica</Mesto><PSC>96901</PSC><Krajina>SK</Krajina>
    <Telefon>0456912233</Telefon><Email>info@knihy.example</Email>
    <CisloUctu>SK3112000000198742637541</CisloUctu>
    <PoradieZobrazeniaAdresy>3</PoradieZobrazeniaAdresy>
  </Odosielatel>
</InfoEPH><Zasielky>
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
    </Spat>
    <Info>
      <CiarovyKod>RR1SK</CiarovyKod><ZasielkaID>Z-1</ZasielkaID><Hmotnost>0,450</Hmotnost>
      <CenaDobierky>24,90</CenaDobierky><CenaPoistneho>150,00</CenaPoistneho>
      <CenaVyplatneho>2,75</CenaVyplatneho><Trieda>1</Trieda>
      <CisloUctu>SK31</CisloUctu><SymbolPrevodu>7781</SymbolPrevodu>
      <Poznamka>Krehké</Poznamka><DruhPPP>4</DruhPPP><DruhZasielky>2</DruhZasielky>
      <DatumPrijatia>20240131</DatumPrijatia>
    </Info>
    <PouziteSluzby><Sluzba>D</Sluzba><Sluzba>DR</Sluzba></PouziteSluzby>
  </Zasielka>
</Zasielky></EPH>
)";

const char kFullV01Text[] =
    "\n"
    "Informácie o EPH:\n"
    "\n"
    "Mena: EUR\n"
    "TypEPH: 1\n"
    "Dátum podaja: 20240131\n"
    "Počet zásielok: 1\n"
    "Spôsob úhrady: 1\n"
    "Suma úhrady: 2,50\n"
    "Spôsob úhrady: 3\n"
    "Suma úhrady: 0,80\n"
    "Druh PPP: 5\n"
    "Druh zásielky: 1\n"
    "Identifikátor EPH: H-1\n"
    "\n"
    "Odosielateľ:\n"
    "Meno a priezvisko: Ľubomír Šťastný\n"
    "Organizácia: Knihy, s.r.o.\n"
    "Ulica: Štúrova 12\n"
    "Obec: Banská Štiavnica\n"
    "PSČ: 96901\n"
    "Krajina: SK\n"
    "Telefón: 0456912233\n"
    "Email: info@knihy.example\n"
    "Číslo účtu:SK3112000000198742637541\n"
    "ID odosielateľa: ODS-1\n"
    "\n"
    "\n"
    "Zásielka RR1SK:\n"
    "Adresát: Zuzana Kováčová, , Hlavná 45, Košice, 04001, SK, 0905123456, "
    "zuzka@posta.example\n"
    "Adresa späť: Ľubomír Šťastný, Knihy, s.r.o., Štúrova 12, Banská Štiavnica, "
    "96901, SK, 0456912233, info@knihy.example\n"
    "Použité služby: D DR \n"
    "Informácie o zásielke: ČK: RR1SK, Hm: 0,450, Poi: 150,00, Dob: 24,90, "
    "Vypl: 2,75, Tr: 1, Účet: SK31, ŠS: 7781, PPP: 4, Druh: 2, Pozn: Krehké\n"
    "Dátum prijatia: 20240131\n";

// No payment, no PPP type, a sender without the optional elements; the first
// consignment has neither return address nor services, nothing has a country.
const char kSparseV01[] = R"(<?xml version="1.0" encoding="utf-8"?>
<EPH xmlns="{ns}"><InfoEPH>
  <Mena>EUR</Mena><TypEPH>2</TypEPH><EPHID>H-2</EPHID><Datum>20240201</Datum>
  <PocetZasielok>2</PocetZasielok>
  <DruhZasielky>3</DruhZasielky><SposobSpracovania>1</SposobSpracovania>
  <Odosielatel>
    <OdosielatelID>ODS-2</OdosielatelID><Meno>Ján</Meno><Priezvisko>Ďurica</Priezvisko>
    <Organizacia/><Ulica>Nám. SNP 3</Ulica><Mesto>Žilina</Mesto><PSC>01001</PSC>
  </Odosielatel>
</InfoEPH><Zasielky>
  <Zasielka>
    <Adresat>
      <Meno>Eva</Meno><Priezvisko>Malá</Priezvisko><Organizacia>Obec Ťapešovo</Organizacia>
      <Ulica>Dlhá 2</Ulica><Mesto>Ťapešovo</Mesto><PSC>02901</PSC>
    </Adresat>
    <Info><CiarovyKod>RR2SK</CiarovyKod><Hmotnost>1,2</Hmotnost></Info>
  </Zasielka>
  <Zasielka>
    <Adresat>
      <Meno>Peter</Meno><Priezvisko>Dvořák</Priezvisko><Organizacia/>
      <Ulica>Jánošíkova 160</Ulica><Mesto>Čierny Balog</Mesto><PSC>97652</PSC>
      <Email>peter@dvorak.example</Email>
    </Adresat>
    <Spat>
      <Meno>Ján</Meno><Priezvisko>Ďurica</Priezvisko><Organizacia/>
      <Ulica>Nám. SNP 3</Ulica><Mesto>Žilina</Mesto><PSC>01001</PSC><Telefon>0415</Telefon>
    </Spat>
    <Info><CiarovyKod>RR3SK</CiarovyKod><Hmotnost>0,08</Hmotnost></Info>
  </Zasielka>
</Zasielky></EPH>
)";

const char kSparseV01Info[] = "\n"
                              "Informácie o EPH:\n"
                              "\n"
                              "Mena: EUR\n"
                              "TypEPH: 2\n"
                              "Dátum podaja: 20240201\n"
                              "Počet zásielok: 2\n"
                              "Druh PPP: \n"
                              "Druh zásielky: 3\n"
                              "Identifikátor EPH: H-2\n"
                              "\n"
                              "Odosielateľ:\n"
                              "Meno a priezvisko: Ján Ďurica\n"
                              "Organizácia: \n"
                              "Ulica: Nám. SNP 3\n"
                              "Obec: Žilina\n"
                              "PSČ: 01001\n"
                              "Krajina: \n"
                              "Telefón: \n"
                              "Email: \n"
                              "Číslo účtu:\n"
                              "ID odosielateľa: ODS-2\n"
                              "\n";

const char kSparseV01Zasielky[] =
    "\n"
    "Zásielka RR2SK:\n"
    "Adresát: Eva Malá, Obec Ťapešovo, Dlhá 2, Ťapešovo, 02901, , , \n"
    "Informácie o zásielke: ČK: RR2SK, Hm: 1,2, Poi: , Dob: , Vypl: , Tr: , Účet: , ŠS: , "
    "PPP: , Druh: , Pozn: \n"
    "Dátum prijatia: \n"
    "\n"
    "Zásielka RR3SK:\n"
    "Adresát: Peter Dvořák, , Jánošíkova 160, Čierny Balog, 97652, , , peter@dvorak.example\n"
    "Adresa späť: Ján Ďurica, , Nám. SNP 3, Žilina, 01001, , 0415, \n"
    "Informácie o zásielke: ČK: RR3SK, Hm: 0,08, Poi: , Dob: , Vypl: , Tr: , Účet: , ŠS: , "
    "PPP: , Druh: , Pozn: \n"
    "Dátum prijatia: \n";

// The sparse sheet as a customer's editor writes it: indented, CR LF.
QByteArray IndentedCrLf(const QByteArray& compact) {
    QByteArray text = compact;
    text.replace("\"><InfoEPH>", "\">\n  <InfoEPH>");
    text.replace("</InfoEPH><Zasielky>", "</InfoEPH>\n  <Zasielky>");
    text.replace("</Zasielky></EPH>", "</Zasielky>\n</EPH>");
    return text.replace("\n", "\r\n");
}

const char kV02Sheet[] = R"(<?xml version="1.0" encoding="utf-8"?>
<EPH xmlns="{ns}"><InfoEPH>
  <Mena>EUR</Mena><TypEPH>1</TypEPH><EPHID>H-3</EPHID><Datum>20240205</Datum>
  <PocetZasielok>2</PocetZasielok>
  <Uhrada><SposobUhrady>2</SposobUhrady><SumaUhrady>5,00</SumaUhrady></Uhrada>
  <DruhPPP>1</DruhPPP><DruhZasielky>4</DruhZasielky>
  <Odosielatel>
    <OdosielatelID>ODS-3</OdosielatelID><Meno>Mária</Meno><Priezvisko>Horváthová</Priezvisko>
    <Organizacia>Včelárstvo Horváth</Organizacia><Ulica>Lúčna 7</Ulica>
    <Mesto>Prešov</Mesto><PSC>08001</PSC><Krajina>SK</Krajina>
  </Odosielatel>
</InfoEPH><Zasielky>
  <Zasielka>
    <Adresat>
      <Meno>Igor</Meno><Priezvisko>Bača</Priezvisko><Organizacia/>
      <Ulica>Krátka 1</Ulica><Mesto>Poprad</Mesto><PSC>05801</PSC><Krajina>SK</Krajina>
    </Adresat>
    <Info>
      <CiarovyKod>EE1SK</CiarovyKod><Hmotnost>3,5</Hmotnost><CenaPoistneho>80</CenaPoistneho>
      <DatumPrijatia>20240205</DatumPrijatia>
      <Objem>0,01</Objem><PocetKusov>2</PocetKusov><ObsahZasielky>Med</ObsahZasielky>
    </Info>
    <PouziteSluzby><Sluzba>PR</Sluzba></PouziteSluzby>
    <DalsieUdaje>
      <Udaj><Nazov>Objednávka</Nazov><Hodnota>7781</Hodnota></Udaj>
      <Udaj><Nazov>Poznámka</Nazov><Hodnota>Krehké sklo</Hodnota></Udaj>
    </DalsieUdaje>
  </Zasielka>
  <Zasielka>
    <Adresat>
      <Meno>Anna</Meno><Priezvisko>Nová</Priezvisko><Organizacia/>
      <Ulica>Dlhá 9</Ulica><Mesto>Levoča</Mesto><PSC>05401</PSC>
    </Adresat>
    <Info/>
  </Zasielka>
</Zasielky></EPH>
)";

const char kV02Text[] = "\n"
                        "Informácie o EPH:\n"
                        "\n"
                        "Mena: EUR\n"
                        "TypEPH: 1\n"
                        "Dátum podaja: 20240205\n"
                        "Počet zásielok: 2\n"
                        "Spôsob úhrady: 2\n"
                        "Suma úhrady: 5,00\n"
                        "Druh PPP: 1\n"
                        "Druh zásielky: 4\n"
                        "Identifikátor EPH: H-3\n"
                        "\n"
                        "Odosielateľ:\n"
                        "Meno a priezvisko: Mária Horváthová\n"
                        "Organizácia: Včelárstvo Horváth\n"
                        "Ulica: Lúčna 7\n"
                        "Obec: Prešov\n"
                        "PSČ: 08001\n"
                        "Krajina: SK\n"
                        "Telefón: \n"
                        "Email: \n"
                        "Číslo účtu:\n"
                        "ID odosielateľa: ODS-3\n"
                        "\n"
                        "\n"
                        "Zásielka EE1SK:\n"
                        "Adresát: Igor Bača, , Krátka 1, Poprad, 05801, SK, , \n"
                        "Použité služby: PR \n"
                        "Informácie o zásielke: ČK: EE1SK, Hm: 3,5, Obj: 0,01, Ks: 2, Obs: Med, "
                        "Poi: 80, Dob: , Vypl: , Tr: , Účet: , ŠS: , PPP: , Druh: , Pozn: \n"
                        "Dátum prijatia: 20240205\n"
                        "Ďalšie údaje: ( Objednávka -> 7781 ) ( Poznámka -> Krehké sklo ) \n"
                        "\n"
                        "Zásielka :\n"
                        "Adresát: Anna Nová, , Dlhá 9, Levoča, 05401, , , \n"
                        "Informácie o zásielke: ČK: , Hm: , Obj: , Ks: , Obs: , Poi: , Dob: , "
                        "Vypl: , Tr: , Účet: , ŠS: , PPP: , Druh: , Pozn: \n"
                        "Dátum prijatia: \n";

const char kV03Sheet[] = R"(<?xml version="1.0" encoding="utf-8"?>
<EPH xmlns="{ns}"><InfoEPH>
  <Mena>EUR</Mena><TypEPH>1</TypEPH><EPHID>H-4</EPHID><Datum>20240206</Datum>
  <PocetZasielok>1</PocetZasielok><DruhZasielky>1</DruhZasielky>
  <Odosielatel>
    <OdosielatelID>ODS-4</OdosielatelID><Meno>Ľubomír Šťastný</Meno>
    <Organizacia>Knihy, s.r.o.</Organizacia><Ulica>Štúrova 12</Ulica>
    <Mesto>Banská Štiavnica</Mesto><PSC>96901</PSC><Krajina>SK</Krajina>
    <Telefon>0456912233</Telefon><Email>info@knihy.example</Email><CisloUctu>SK31</CisloUctu>
  </Odosielatel>
</InfoEPH><Zasielky>
  <Zasielka>
    <Adresat>
      <Meno>Zuzana Kováčová</Meno><Organizacia/><Ulica>Hlavná 45</Ulica><Mesto>Košice</Mesto>
      <PSC>04001</PSC><Krajina>SK</Krajina><Telefon>0905123456</Telefon>
      <Email>zuzka@posta.example</Email>
    </Adresat>
    <Spat>
      <Meno>Ľubomír Šťastný</Meno><Organizacia>Knihy, s.r.o.</Organizacia><Ulica>Štúrova 12</Ulica>
      <Mesto>Banská Štiavnica</Mesto><PSC>96901</PSC><Krajina>SK</Krajina>
    </Spat>
    <Info><CiarovyKod>RR4SK</CiarovyKod><PocetKusov>1</PocetKusov></Info>
    <DalsieUdaje><Udaj><Nazov>Stredisko</Nazov><Hodnota>Žilina 1</Hodnota></Udaj></DalsieUdaje>
  </Zasielka>
</Zasielky></EPH>
)";

const char kV03Text[] =
    "\n"
    "Informácie o EPH:\n"
    "\n"
    "Mena: EUR\n"
    "TypEPH: 1\n"
    "Dátum podaja: 20240206\n"
    "Počet zásielok: 1\n"
    "Druh PPP: \n"
    "Druh zásielky: 1\n"
    "Identifikátor EPH: H-4\n"
    "\n"
    "Odosielateľ:\n"
    "Meno a priezvisko: Ľubomír Šťastný\n"
    "Organizácia: Knihy, s.r.o.\n"
    "Ulica: Štúrova 12\n"
    "Obec: Banská Štiavnica\n"
    "PSČ: 96901\n"
    "Krajina: SK\n"
    "Telefón: 0456912233\n"
    "Email: info@knihy.example\n"
    "Číslo účtu:SK31\n"
    "ID odosielateľa: ODS-4\n"
    "\n"
    "\n"
    "Zásielka RR4SK:\n"
    "Adresát: Zuzana Kováčová, , Hlavná 45, Košice, 04001, SK, 0905123456, "
    "zuzka@posta.example\n"
    "Adresa späť: Ľubomír Šťastný, Knihy, s.r.o., Štúrova 12, Banská Štiavnica, "
    "96901, SK\n"
    "Informácie o zásielke: ČK: RR4SK, Hm: , Obj: , Ks: 1, Obs: , Poi: , Dob: , "
    "Vypl: , Tr: , Účet: , ŠS: , PPP: , Druh: , Pozn: \n"
    "Dátum prijatia: \n"
    "Ďalšie údaje: ( Stredisko -> Žilina 1 ) \n";

const char kFullEn[] = R"(<?xml version="1.0" encoding="utf-8"?>
<EPS xmlns="{ns}"><EPSInfo>
  <Currency>EUR</Currency><EPSType>1</EPSType><EPSID>H-1</EPSID><Date>20240131</Date>
  <NumberOfItems>1</NumberOfItems>
  <Payment><PaymentType>1</PaymentType><Amount>2,50</Amount></Payment>
  <Payment><PaymentType>3</PaymentType><Amount>0,80</Amount></Payment>
  <PPPType>5</PPPType><ItemCategory>1</ItemCategory><Handling>4</Handling>
  <Sender>
    <SenderID>ODS-1</SenderID><Name>Ľubomír</Name><Surname>Šťastný</Surname>
    <Organization>Knihy, s.r.o.</Organization><Street>Štúrova 12</Street>
    <City>Banská Štiavnica</City><PostCode>96901</PostCode><Country>SK</Country>
    <PhoneNo>0456912233</PhoneNo><Email>info@knihy.example</Email>
    <AccountNo>SK3112000000198742637541</AccountNo>
    <AddressOrderRepresentation>3</AddressOrderRepresentation>
  </Sender>
</EPSInfo><Items>
  <Item>
    <Addressee>
      <Name>Zuzana</Name><Surname>Kováčová</Surname><Organization/>
      <Street>Hlavná 45</Street><City>Košice</City><PostCode>04001</PostCode><Country>SK</Country>
      <PhoneNo>0905123456</PhoneNo><Email>zuzka@posta.example</Email>
    </Addressee>
    <Return>
      <Name>Ľubomír</Name><Surname>Šťastný</Surname><Organization>Knihy, s.r.o.</Organization>
      <Street>Štúrova 12</Street><City>Banská Štiavnica</City><PostCode>96901</PostCode>
      <PhoneNo>0456912233</PhoneNo><Email>info@knihy.example</Email>
    </Return>
    <Info>
      <BarCode>RR1SK</BarCode><ItemID>Z-1</ItemID><Weight>0,450</Weight>
      <CashOnDelivery>24,90</CashOnDelivery><Insured>150,00</Insured>
      <Prepayment>2,75</Prepayment><Class>1</Class>
      <AccountNo>SK31</AccountNo><VariableSymbol>7781</VariableSymbol>
      <Note>Fragile</Note><PPPType>4</PPPType><ItemCategory>2</ItemCategory>
      <AcceptanceDate>20240131</AcceptanceDate>
    </Info>
    <AdditionalServices><Service>D</Service><Service>DR</Service></AdditionalServices>
  </Item>
</Items></EPS>
)";

const char kFullEnText[] =
    "\n"
    "Electronic mailing sheet\n"
    "=========================\n"
    "\n"
    "\n"
    "Information about EPS:\n"
    "\n"
    "Currency: EUR\n"
    "EPS type: 1\n"
    "Submission date: 20240131\n"
    "Number of items: 1\n"
    "Payment type: 1\n"
    "Amount: 2,50\n"
    "Payment type: 3\n"
    "Amount: 0,80\n"
    "PPP type: 5\n"
    "Item category: 1\n"
    "EPS identifier: H-1\n"
    "\n"
    "Sender:\n"
    "Name and surname: Ľubomír Šťastný\n"
    "Organization: Knihy, s.r.o.\n"
    "Street: Štúrova 12\n"
    "City: Banská Štiavnica\n"
    "Post code: 96901\n"
    "Country: SK\n"
    "Phone number: 0456912233\n"
    "Email: info@knihy.example\n"
    "Account number:SK3112000000198742637541\n"
    "Sender ID: ODS-1\n"
    "\n"
    "\n"
    "Item RR1SK:\n"
    "Addressee: Zuzana Kováčová, , Hlavná 45, Košice, 04001, SK, 0905123456, "
    "zuzka@posta.example\n"
    "Return to: Ľubomír Šťastný, Knihy, s.r.o., Štúrova 12, Banská Štiavnica, "
    "96901, , 0456912233, info@knihy.example\n"
    "Additional services: D DR \n"
    "Information about item: Barcode: RR1SK, Weight: 0,450, Insured: 150,00, "
    "Cash on delivery: 24,90, Prepayment: 2,75, Class: 1, Account number: SK31, "
    "Variable symbol: 7781, PPP type: 4, Category: 2, Note: Fragile\n"
    "Acceptance date: 20240131\n";

const char kReportRq[] = R"(<?xml version="1.0" encoding="utf-8"?>
<ReportRQ xmlns="{ns}" verzia="0.1">
  <Info>
    <OdosielatelID>ODS-1</OdosielatelID>
    <DatumOd>20240101000000</DatumOd>
    <DatumDo>20240131235959</DatumDo>
  </Info>
</ReportRQ>
)";

const char kReportRqText[] = "\n"
                             "Žiadosť o report\n"
                             "================\n"
                             "\n"
                             "Identifikátor odosielateľa: ODS-1\n"
                             "Dátum a čas od: 20240101000000\n"
                             "Dátum a čas do: 20240131235959\n"
                             "\n";

const char kReportRqEn[] = R"(<?xml version="1.0" encoding="utf-8"?>
<ReportRQ xmlns="{ns}" version="0.1">
  <Info>
    <SenderID>ODS-1</SenderID>
    <DateFrom>20240101000000</DateFrom>
    <DateTo>20240131235959</DateTo>
  </Info>
</ReportRQ>
)";

const char kReportRqEnText[] = "\n"
                               "Report request\n"
                               "================\n"
                               "\n"
                               "Sender ID: ODS-1\n"
                               "Date and time from: 20240101000000\n"
                               "Date and time to: 20240131235959\n"
                               "\n";

} // namespace

class TTestFormRenderings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rendersExactly_data();
    void rendersExactly();
    void rendersReportRequestInEightLines();
    void rendersEverySampleWithLineFeeds_data();
    void rendersEverySampleWithLineFeeds();
};

void TTestFormRenderings::rendersExactly_data() {
    QTest::addColumn<QString>("stylesheet");
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QString>("expected");

    const QString title = Utf8(kTitle);
    const QByteArray sparse = Doc(kV01, kSparseV01);

    QTest::newRow("v01 two payments, return address, two services")
        << QStringLiteral("PODAJ_XSLT") << Doc(kV01, kFullV01) << title + Utf8(kFullV01Text);
    QTest::newRow("v01 without return address, services and country")
        << QStringLiteral("PODAJ_XSLT") << sparse
        << title + Utf8(kSparseV01Info) + Utf8(kSparseV01Zasielky);
    // The whitespace between the root's children is copied by the built-in rule.
    QTest::newRow("v01 indented with CR LF")
        << QStringLiteral("PODAJ_XSLT") << IndentedCrLf(sparse)
        << title + QStringLiteral("\n  ") + Utf8(kSparseV01Info) + QStringLiteral("\n  ") +
               Utf8(kSparseV01Zasielky) + QStringLiteral("\n");
    QTest::newRow("v02 volume, pieces, contents, two Udaj, empty Info")
        << QStringLiteral("PODAJ_XSLT_V2") << Doc(kV02, kV02Sheet) << title + Utf8(kV02Text);
    QTest::newRow("v03 single names, six-field return line")
        << QStringLiteral("PODAJ_XSLT_V3") << Doc(kV03, kV03Sheet) << title + Utf8(kV03Text);
    QTest::newRow("en two payments, return address without country, two services")
        << QStringLiteral("PODAJ_XSLT_EN") << Doc(kEn, kFullEn) << Utf8(kFullEnText);
    QTest::newRow("report request")
        << QStringLiteral("REPORTRQ_XSLT") << Doc("/DUNOR/Formulare/ReportRQ_v01", kReportRq)
        << Utf8(kReportRqText);
    QTest::newRow("report request en")
        << QStringLiteral("REPORTRQ_XSLT_EN")
        << Doc("/DUNOR/Formulare/EN/ReportRQ_v01", kReportRqEn) << Utf8(kReportRqEnText);
}

void TTestFormRenderings::rendersExactly() {
    QFETCH(QString, stylesheet);
    QFETCH(QByteArray, document);
    QFETCH(QString, expected);

    const TRendering result = Render(ReadForm(stylesheet), document);
    QVERIFY2(result.Ok, qPrintable(result.Messages));
    QVERIFY(!result.Output.contains('\r'));
    QCOMPARE(QString::fromUtf8(result.Output), expected);
}

void TTestFormRenderings::rendersReportRequestInEightLines() {
    const TRendering result = Render(ReadForm(QStringLiteral("REPORTRQ_XSLT")),
                                     Doc("/DUNOR/Formulare/ReportRQ_v01", kReportRq));
    QVERIFY2(result.Ok, qPrintable(result.Messages));
    QVERIFY(result.Output.endsWith('\n'));
    const QList<QByteArray> lines = result.Output.chopped(1).split('\n');
    QCOMPARE(lines.size(), 8);
    QVERIFY(lines[0].isEmpty());
    QVERIFY(lines[3].isEmpty());
    QVERIFY(lines[7].isEmpty());
    for (int i : {1, 2, 4, 5, 6})
        QVERIFY(!lines[i].isEmpty());
}

void TTestFormRenderings::rendersEverySampleWithLineFeeds_data() {
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("stylesheet");
    QTest::addColumn<QString>("heading");
    QTest::newRow("v01") << QStringLiteral("eph-v01.xml") << QStringLiteral("PODAJ_XSLT")
                         << Utf8("Zásielka ");
    QTest::newRow("v02") << QStringLiteral("eph-v02.xml") << QStringLiteral("PODAJ_XSLT_V2")
                         << Utf8("Zásielka ");
    QTest::newRow("v03") << QStringLiteral("eph-v03.xml") << QStringLiteral("PODAJ_XSLT_V3")
                         << Utf8("Zásielka ");
    QTest::newRow("en") << QStringLiteral("eph-v01-en.xml") << QStringLiteral("PODAJ_XSLT_EN")
                        << QStringLiteral("Item ");
}

void TTestFormRenderings::rendersEverySampleWithLineFeeds() {
    QFETCH(QString, sample);
    QFETCH(QString, stylesheet);
    QFETCH(QString, heading);

    const QByteArray document = ReadExample(sample);
    QVERIFY(document.contains("\r\n"));
    const TRendering result = Render(ReadForm(stylesheet), document);
    QVERIFY2(result.Ok, qPrintable(result.Messages));
    QVERIFY(!result.Output.contains('\r'));
    QVERIFY(result.Output.endsWith('\n'));
    // Every sample holds three consignments, each with its heading line.
    int headings = 0;
    for (const QString& line : QString::fromUtf8(result.Output).split(u'\n'))
        if (line.startsWith(heading) && line.endsWith(u':'))
            ++headings;
    QCOMPARE(headings, 3);
}

QTEST_GUILESS_MAIN(TTestFormRenderings)
#include "tst_formrenderings.moc"

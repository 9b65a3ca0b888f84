<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="sk">
<context>
    <name>OrvGuard</name>
    <message>
        <source>Neznáma chyba</source>
        <translation>Unknown error</translation>
    </message>
</context>
<context>
    <name>TDMORV</name>
    <message>
        <source>PODAJ_XSD</source>
        <translation>PODAJ_XSD</translation>
    </message>
    <message>
        <source>PODAJ_XSLT</source>
        <translation>PODAJ_XSLT</translation>
    </message>
    <message>
        <source>PODAJ_XSD_V2</source>
        <translation>PODAJ_XSD_V2</translation>
    </message>
    <message>
        <source>PODAJ_XSLT_V2</source>
        <translation>PODAJ_XSLT_V2</translation>
    </message>
    <message>
        <source>PODAJ_XSD_V3</source>
        <translation>PODAJ_XSD_V3</translation>
    </message>
    <message>
        <source>PODAJ_XSLT_V3</source>
        <translation>PODAJ_XSLT_V3</translation>
    </message>
    <message>
        <source>REPORTRQ_XSD</source>
        <translation>REPORTRQ_XSD</translation>
    </message>
    <message>
        <source>REPORTRQ_XSLT</source>
        <translation>REPORTRQ_XSLT</translation>
    </message>
    <message>
        <source>Resource %1 not found</source>
        <translation>Resource %1 not found</translation>
    </message>
    <message>
        <source>GetPodanie(): odpoveď neobsahuje podanie</source>
        <translation>GetPodanie(): the response holds no submission</translation>
    </message>
    <message>
        <source>GetPodanie(): podanie neobsahuje XML dokument</source>
        <translation>GetPodanie(): the submission holds no XML document</translation>
    </message>
    <message>
        <source>GetSuborPisomnosti(): odpoveď neobsahuje písomnosť</source>
        <translation>GetSuborPisomnosti(): the response holds no document</translation>
    </message>
    <message>
        <source>GetSuborPisomnosti(): písomnosť neobsahuje XML dokument</source>
        <translation>GetSuborPisomnosti(): the document holds no XML document</translation>
    </message>
    <message>
        <source>Chyba pri komunikácii s OVR: </source>
        <translation>Error communicating with ORV: </translation>
    </message>
    <message>
        <source>Chyba pri komunikácii s ORV:</source>
        <translation>Error communicating with ORV:</translation>
    </message>
    <message>
        <source>The process cannot access the file because it is being used by another process.</source>
        <translation>The process cannot access the file because it is being used by another process.</translation>
    </message>
    <message>
        <source>Nepodarilo sa vytvoriť objekt podania!</source>
        <translation>Could not create the submission object!</translation>
    </message>
    <message>
        <source>ORV: </source>
        <translation>ORV: </translation>
    </message>
    <message>
        <source>ORV: Nepodarilo sa vytvoriť podanie!</source>
        <translation>ORV: Could not create the submission!</translation>
    </message>
    <message>
        <source>Elektronický podací poštový hárok</source>
        <translation>Elektronický podací poštový hárok</translation>
    </message>
    <message>
        <source>http://%1/DUNOR/Formulare/Podaj_v01</source>
        <translation>http://%1/DUNOR/Formulare/Podaj_v01</translation>
    </message>
    <message>
        <source>http://%1/DUNOR/Formulare/xsd/Podaj_v01.xsd</source>
        <translation>http://%1/DUNOR/Formulare/xsd/Podaj_v01.xsd</translation>
    </message>
    <message>
        <source>http://%1/DUNOR/Formulare/xslt/Podaj_v01.xslt</source>
        <translation>http://%1/DUNOR/Formulare/xslt/Podaj_v01.xslt</translation>
    </message>
    <message>
        <source>KT_PODAJ_v01</source>
        <translation>KT_PODAJ_v01</translation>
    </message>
    <message>
        <source>ElektronickyPodaciPostovyHarok_v02</source>
        <translation>ElektronickyPodaciPostovyHarok_v02</translation>
    </message>
    <message>
        <source>http://%1/DUNOR/Formulare/Podaj_v02</source>
        <translation>http://%1/DUNOR/Formulare/Podaj_v02</translation>
    </message>
    <message>
        <source>http://%1/DUNOR/Formulare/xsd/Podaj_v02.xsd</source>
        <translation>http://%1/DUNOR/Formulare/xsd/Podaj_v02.xsd</translation>
    </message>
    <message>
        <source>http://%1/DUNOR/Formulare/xslt/Podaj_v02.xslt</source>
        <translation>http://%1/DUNOR/Formulare/xslt/Podaj_v02.xslt</translation>
    </message>
    <message>
        <source>KT_PODAJ_v02</source>
        <translation>KT_PODAJ_v02</translation>
    </message>
    <message>
        <source>ElektronickyPodaciPostovyHarok_v03</source>
        <translation>ElektronickyPodaciPostovyHarok_v03</translation>
    </message>
    <message>
        <source>http://%1/DUNOR/Formulare/Podaj_v03</source>
        <translation>http://%1/DUNOR/Formulare/Podaj_v03</translation>
    </message>
    <message>
        <source>http://%1/DUNOR/Formulare/xsd/Podaj_v03.xsd</source>
        <translation>http://%1/DUNOR/Formulare/xsd/Podaj_v03.xsd</translation>
    </message>
    <message>
        <source>http://%1/DUNOR/Formulare/xslt/Podaj_v03.xslt</source>
        <translation>http://%1/DUNOR/Formulare/xslt/Podaj_v03.xslt</translation>
    </message>
    <message>
        <source>KT_PODAJ_v03</source>
        <translation>KT_PODAJ_v03</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>Cannot open file &quot;%1&quot;. %2</translation>
    </message>
</context>
<context>
    <name>TDialogs</name>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Súbor %1 už existuje.
Chcete ho nahradiť?</source>
        <translation>%1 already exists.
Do you want to replace it?</translation>
    </message>
</context>
<context>
    <name>TFrmJazyk</name>
    <message>
        <source>Výber jazyka</source>
        <translation>Select language</translation>
    </message>
    <message>
        <source>Zvoľte jazyk (Select language):</source>
        <translation>Select language:</translation>
    </message>
    <message>
        <source>slovenský</source>
        <translation>Slovak (slovenský)</translation>
    </message>
    <message>
        <source>anglický (English)</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Uložiť</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Storno</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Zmena jazyka sa prejaví až po reštarte aplikácie!</source>
        <translation>Zmena jazyka sa prejaví až po reštarte aplikácie!</translation>
    </message>
    <message>
        <source>Restart application to language change take effect!</source>
        <translation>Restart application to language change take effect!</translation>
    </message>
</context>
<context>
    <name>TFrmORV</name>
    <message>
        <source>Komunikácia s ORV</source>
        <translation>Communication with ORV</translation>
    </message>
    <message>
        <source>Podania</source>
        <translation>Submissions</translation>
    </message>
    <message>
        <source>Dátum od:</source>
        <translation>Date from:</translation>
    </message>
    <message>
        <source>Dátum do:</source>
        <translation>Date to:</translation>
    </message>
    <message>
        <source>Identifikátor biznis prípadu:</source>
        <translation>Business case identifier:</translation>
    </message>
    <message>
        <source>Načítať</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>ID podania</source>
        <translation>Submission ID</translation>
    </message>
    <message>
        <source>ID subjektu</source>
        <translation>Subject ID</translation>
    </message>
    <message>
        <source>ID biznis prípadu</source>
        <translation>Business case ID</translation>
    </message>
    <message>
        <source>Dátum podania</source>
        <translation>Submission date</translation>
    </message>
    <message>
        <source>Typ podania</source>
        <translation>Submission type</translation>
    </message>
    <message>
        <source>Služba</source>
        <translation>Service</translation>
    </message>
    <message>
        <source>Stav overenia</source>
        <translation>Verification state</translation>
    </message>
    <message>
        <source>Stav podania</source>
        <translation>Submission state</translation>
    </message>
    <message>
        <source>Písomnosti</source>
        <translation>Documents</translation>
    </message>
    <message>
        <source>ID písomnosti</source>
        <translation>Document ID</translation>
    </message>
    <message>
        <source>ID Podania</source>
        <translation>Submission ID</translation>
    </message>
    <message>
        <source>Typ písomnosti</source>
        <translation>Document type</translation>
    </message>
    <message>
        <source>Konfigurácia ORV</source>
        <translation>ORV configuration</translation>
    </message>
    <message>
        <source>&amp;Konfigurácia ORV</source>
        <translation>ORV &amp;configuration</translation>
    </message>
    <message>
        <source>Podať nový EPH</source>
        <translation>Submit new EPH</translation>
    </message>
    <message>
        <source>&amp;Podať nový EPH</source>
        <translation>&amp;Submit new EPH</translation>
    </message>
    <message>
        <source>Zobraziť obsah</source>
        <translation>Show content</translation>
    </message>
    <message>
        <source>&amp;Zobraziť obsah</source>
        <translation>Show c&amp;ontent</translation>
    </message>
    <message>
        <source>Vybrať jazyk (Select language)</source>
        <translation>Select language</translation>
    </message>
    <message>
        <source>EPH bol podaný!</source>
        <translation>The EPH has been submitted!</translation>
    </message>
    <message>
        <source>Podanie </source>
        <translation>Submission </translation>
    </message>
    <message>
        <source>Písomnosť </source>
        <translation>Document </translation>
    </message>
</context>
<context>
    <name>TFrmORVInfo</name>
    <message>
        <source>Informácie...</source>
        <translation>Information...</translation>
    </message>
    <message>
        <source>Uložiť</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Zavrieť</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;. %2</source>
        <translation>Cannot create file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>Uložiť ako</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>Súbory XML</source>
        <translation>XML files</translation>
    </message>
</context>
<context>
    <name>TFrmORVKonfig</name>
    <message>
        <source>Konfigurácia komunikácie s ORV</source>
        <translation>ORV communication settings</translation>
    </message>
    <message>
        <source>URL pre komunikáciu s ORV:</source>
        <translation>ORV communication URL:</translation>
    </message>
    <message>
        <source>Subjekt:</source>
        <translation>Subject:</translation>
    </message>
    <message>
        <source>Osoba:</source>
        <translation>Person:</translation>
    </message>
    <message>
        <source>Heslo:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>Potvrdenie hesla:</source>
        <translation>Confirm password:</translation>
    </message>
    <message>
        <source>Podpisová politika:</source>
        <translation>Signature policy:</translation>
    </message>
    <message>
        <source>Verzia EPH:</source>
        <translation>EPH version:</translation>
    </message>
    <message>
        <source>verzia 0.1, KT_PODAJ_v01</source>
        <translation>version 0.1, KT_PODAJ_v01</translation>
    </message>
    <message>
        <source>verzia 2.0, KT_PODAJ_v02</source>
        <translation>version 2.0, KT_PODAJ_v02</translation>
    </message>
    <message>
        <source>verzia 3.0, KT_PODAJ_v03</source>
        <translation>version 3.0, KT_PODAJ_v03</translation>
    </message>
    <message>
        <source>Storno</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Zadané heslá sa nezhodujú!</source>
        <translation>The passwords do not match!</translation>
    </message>
</context>
<context>
    <name>TFrmORVPodajEPH</name>
    <message>
        <source>Podať nový EPH</source>
        <translation>Submit new EPH</translation>
    </message>
    <message>
        <source>Súbor EPH:</source>
        <translation>EPH file:</translation>
    </message>
    <message>
        <source>Vybrať</source>
        <translation>Choose</translation>
    </message>
    <message>
        <source>Identifikátor EPH:</source>
        <translation>EPH identifier:</translation>
    </message>
    <message>
        <source>Storno</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Vyberte súbor EPH</source>
        <translation>Choose the EPH file</translation>
    </message>
    <message>
        <source>Súbory XML</source>
        <translation>XML files</translation>
    </message>
    <message>
        <source>Nie je zvolená platná verzia EPH!</source>
        <translation>No valid EPH version is selected!</translation>
    </message>
</context>
<context>
    <name>TOrvApp</name>
    <message>
        <source>Aplikácia nie je spustená</source>
        <translation>The application is not running</translation>
    </message>
    <message>
        <source>Spojenie s ORV nie je pripravené</source>
        <translation>The connection to ORV is not ready</translation>
    </message>
</context>
<context>
    <name>TSignerPasswordDialog</name>
    <message>
        <source>Podpísať dokument</source>
        <translation>Sign document</translation>
    </message>
    <message>
        <source>Dokument:</source>
        <translation>Document:</translation>
    </message>
    <message>
        <source>Certifikát:</source>
        <translation>Certificate:</translation>
    </message>
    <message>
        <source>Súbor kľúča:</source>
        <translation>Key file:</translation>
    </message>
    <message>
        <source>Heslo kľúča:</source>
        <translation>Key password:</translation>
    </message>
    <message>
        <source>Storno</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Podpísať</source>
        <translation>Sign</translation>
    </message>
</context>
<context>
    <name>ULanguage</name>
    <message>
        <source>Failed to set data for &apos;%1&apos;</source>
        <translation>Failed to set data for &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Súbor nastavení &quot;%1&quot; sa nedá čítať: %2</source>
        <translation>The settings file &quot;%1&quot; cannot be read: %2</translation>
    </message>
    <message>
        <source>Invalid data type for &apos;%1&apos;</source>
        <translation>Invalid data type for &apos;%1&apos;</translation>
    </message>
</context>
<context>
    <name>UWinRegistry</name>
    <message>
        <source>text nie je v kódovaní UTF-8</source>
        <translation>the text is not UTF-8</translation>
    </message>
    <message>
        <source>chýba úvodný riadok &quot;Windows Registry Editor Version 5.00&quot;</source>
        <translation>the first line &quot;Windows Registry Editor Version 5.00&quot; is missing</translation>
    </message>
    <message>
        <source>chybný názov kľúča</source>
        <translation>bad key name</translation>
    </message>
    <message>
        <source>kľúč patrí inej vetve registra</source>
        <translation>the key belongs to another hive</translation>
    </message>
    <message>
        <source>príkaz na vymazanie nie je dovolený</source>
        <translation>deletions are not allowed</translation>
    </message>
    <message>
        <source>hodnota pred prvým kľúčom</source>
        <translation>a value before the first key</translation>
    </message>
    <message>
        <source>riadok nie je kľúč ani hodnota</source>
        <translation>the line is neither a key nor a value</translation>
    </message>
    <message>
        <source>chybné údaje hodnoty</source>
        <translation>bad value data</translation>
    </message>
    <message>
        <source>Súbor nastavení &quot;%1&quot; je poškodený, riadok %2: %3</source>
        <translation>The settings file &quot;%1&quot; is damaged, line %2: %3</translation>
    </message>
    <message>
        <source>Súbor nastavení &quot;%1&quot; je poškodený: %2</source>
        <translation>The settings file &quot;%1&quot; is damaged: %2</translation>
    </message>
    <message>
        <source>Súbor nastavení &quot;%1&quot; sa nedá čítať: %2</source>
        <translation>The settings file &quot;%1&quot; cannot be read: %2</translation>
    </message>
    <message>
        <source>Failed to set data for &apos;%1&apos;</source>
        <translation>Failed to set data for &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Invalid data type for &apos;%1&apos;</source>
        <translation>Invalid data type for &apos;%1&apos;</translation>
    </message>
</context>
<context>
    <name>UXmlText</name>
    <message>
        <source>XML dokument sa nedá zapísať ako text</source>
        <translation>The XML document cannot be written as text</translation>
    </message>
</context>
</TS>

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
    <name>UMesComponent</name>
    <message>
        <source>Text nie je v kódovaní Base64</source>
        <translation>The text is not Base64</translation>
    </message>
    <message>
        <source>Nie je načítaný podpísaný dokument</source>
        <translation>No signed document is loaded</translation>
    </message>
    <message>
        <source>Podanie nemá typ</source>
        <translation>The submission has no type</translation>
    </message>
    <message>
        <source>Nie sú nastavené údaje podania</source>
        <translation>No submission data is set</translation>
    </message>
    <message>
        <source>Údaje podania sú pre %1, nie pre %2</source>
        <translation>The submission data is for %1, not %2</translation>
    </message>
</context>
<context>
    <name>USigningKey</name>
    <message>
        <source>Súbor kľúča nie je súbor PKCS#12</source>
        <translation>The key file is not a PKCS#12 file</translation>
    </message>
    <message>
        <source>Heslo k súboru kľúča nie je správne</source>
        <translation>The password of the key file is not correct</translation>
    </message>
    <message>
        <source>Súbor kľúča sa nedá otvoriť</source>
        <translation>The key file cannot be opened</translation>
    </message>
    <message>
        <source>Súbor kľúča neobsahuje kľúč s jeho certifikátom</source>
        <translation>The key file holds no key with its certificate</translation>
    </message>
</context>
<context>
    <name>USubmissionDocument</name>
    <message>
        <source>Text &quot;%1&quot; obsahuje znak, ktorý sa v XML nedá zapísať</source>
        <translation>The text &quot;%1&quot; holds a character XML cannot carry</translation>
    </message>
    <message>
        <source>Údaje podania</source>
        <translation>The submission data</translation>
    </message>
    <message>
        <source>Text nie je údajmi podania</source>
        <translation>The text is not submission data</translation>
    </message>
    <message>
        <source>Podpísaný dokument je príliš veľký</source>
        <translation>The signed document is too large</translation>
    </message>
    <message>
        <source>Podpísaný dokument sa nedá čítať</source>
        <translation>The signed document cannot be read</translation>
    </message>
    <message>
        <source>Podpísaný dokument nesmie mať DTD</source>
        <translation>The signed document may not have a DTD</translation>
    </message>
    <message>
        <source>Podpísaný dokument nie je podpis XML</source>
        <translation>The signed document is not an XML signature</translation>
    </message>
    <message>
        <source>Podpísaný dokument nie je správne utvorený: %1</source>
        <translation>The signed document is not well-formed: %1</translation>
    </message>
    <message>
        <source>neznáma chyba</source>
        <translation>unknown error</translation>
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
    <name>UXadesNames</name>
    <message>
        <source>Algoritmus odtlačku &quot;%1&quot; nie je podporovaný</source>
        <translation>The digest algorithm &quot;%1&quot; is not supported</translation>
    </message>
    <message>
        <source>Metóda odtlačku &quot;%1&quot; nie je podporovaná</source>
        <translation>The digest method &quot;%1&quot; is not supported</translation>
    </message>
</context>
<context>
    <name>UXadesSigAtlComponent</name>
    <message>
        <source>Na podpisovanie nie je nastavený súbor kľúča</source>
        <translation>No key file is configured for signing</translation>
    </message>
    <message>
        <source>Súbor kľúča &quot;%1&quot; sa nedá otvoriť: %2</source>
        <translation>The key file &quot;%1&quot; cannot be opened: %2</translation>
    </message>
    <message>
        <source>Dátový objekt nevytvoril XML plug-in</source>
        <translation>The data object was not made by the XML plug-in</translation>
    </message>
    <message>
        <source>Nie je žiadny dátový objekt na podpísanie</source>
        <translation>There is no data object to sign</translation>
    </message>
    <message>
        <source>Podpisová politika &quot;%1&quot; nie je nainštalovaná</source>
        <translation>The signature policy &quot;%1&quot; is not installed</translation>
    </message>
    <message>
        <source>Dátový objekt &quot;%1&quot; už bol podpísaný</source>
        <translation>The data object &quot;%1&quot; has been signed already</translation>
    </message>
    <message>
        <source>Používateľ podpisovanie zrušil</source>
        <translation>Signing was cancelled by the user</translation>
    </message>
</context>
<context>
    <name>UXadesSignature</name>
    <message>
        <source>Podpísaný dokument sa nedá zapísať</source>
        <translation>The signed document cannot be written</translation>
    </message>
    <message>
        <source>Podpis sa nedá zostaviť</source>
        <translation>The signature cannot be built</translation>
    </message>
    <message>
        <source>Identifikátor &quot;%1&quot; nie je v dokumente jedinečný</source>
        <translation>The identifier &quot;%1&quot; is not unique in the document</translation>
    </message>
    <message>
        <source>Kľúčom tohto typu sa XML nedá podpísať</source>
        <translation>The key type cannot sign XML</translation>
    </message>
    <message>
        <source>Kľúč sa nedá použiť</source>
        <translation>The key cannot be used</translation>
    </message>
    <message>
        <source>Dátový objekt nemá dokument</source>
        <translation>The data object has no document</translation>
    </message>
    <message>
        <source>Certifikát sa nedá čítať</source>
        <translation>The certificate cannot be read</translation>
    </message>
    <message>
        <source>Nie je žiadny dátový objekt na podpísanie</source>
        <translation>There is no data object to sign</translation>
    </message>
    <message>
        <source>Identifikátor podpisu &quot;%1&quot; nie je platný</source>
        <translation>The signature identifier &quot;%1&quot; is not valid</translation>
    </message>
    <message>
        <source>Identifikátor dátového objektu &quot;%1&quot; nie je platný</source>
        <translation>The data object identifier &quot;%1&quot; is not valid</translation>
    </message>
    <message>
        <source>Dátový objekt &quot;%1&quot; už bol podpísaný</source>
        <translation>The data object &quot;%1&quot; has been signed already</translation>
    </message>
    <message>
        <source>Dátový objekt &quot;%1&quot; sa nedá podpísať</source>
        <translation>The data object &quot;%1&quot; cannot be signed</translation>
    </message>
    <message>
        <source>Dokument sa nedá podpísať: %1</source>
        <translation>The document cannot be signed: %1</translation>
    </message>
</context>
<context>
    <name>UXmlForms</name>
    <message>
        <source>Schéma</source>
        <translation>The schema</translation>
    </message>
    <message>
        <source>Schéma sa nedá čítať</source>
        <translation>The schema cannot be read</translation>
    </message>
    <message>
        <source>Schéma sa nedá použiť: %1</source>
        <translation>The schema cannot be used: %1</translation>
    </message>
    <message>
        <source>neznáma chyba</source>
        <translation>unknown error</translation>
    </message>
    <message>
        <source>Schéma sa nedá použiť</source>
        <translation>The schema cannot be used</translation>
    </message>
    <message>
        <source>Dokument nezodpovedá svojej schéme</source>
        <translation>The document is not valid against its schema</translation>
    </message>
    <message>
        <source>Šablóna štýlu</source>
        <translation>The stylesheet</translation>
    </message>
    <message>
        <source>Šablóna štýlu sa nedá použiť</source>
        <translation>The stylesheet cannot be used</translation>
    </message>
    <message>
        <source>Šablóna štýlu sa nedá použiť: %1</source>
        <translation>The stylesheet cannot be used: %1</translation>
    </message>
    <message>
        <source>Dokument sa nedá zobraziť: %1</source>
        <translation>The document cannot be shown: %1</translation>
    </message>
    <message>
        <source>Dokument sa nedá zobraziť</source>
        <translation>The document cannot be shown</translation>
    </message>
</context>
<context>
    <name>UXmlPluginComponent</name>
    <message>
        <source>Dokument</source>
        <translation>The document</translation>
    </message>
    <message>
        <source>Podporované sú len dátové objekty XML</source>
        <translation>Only XML data objects are supported</translation>
    </message>
    <message>
        <source>Menný priestor dokumentu &quot;%1&quot; nie je &quot;%2&quot;</source>
        <translation>The document&apos;s namespace &quot;%1&quot; is not &quot;%2&quot;</translation>
    </message>
</context>
<context>
    <name>UXmlSafe</name>
    <message>
        <source>riadok %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>%1: nedostatok pamäte</source>
        <translation>%1: not enough memory</translation>
    </message>
    <message>
        <source>nie je XML</source>
        <translation>not XML</translation>
    </message>
    <message>
        <source>%1: deklarácia typu dokumentu nie je dovolená</source>
        <translation>%1: a document type declaration is not allowed</translation>
    </message>
    <message>
        <source>%1: chýba koreňový prvok</source>
        <translation>%1: no root element</translation>
    </message>
</context>
<context>
    <name>UXmlSecLibrary</name>
    <message>
        <source>Knižnica podpisov XML sa nedá spustiť</source>
        <translation>The XML signature library cannot be started</translation>
    </message>
</context>
<context>
    <name>UXmlText</name>
    <message>
        <source>XML dokument sa nedá zapísať ako text</source>
        <translation>The XML document cannot be written as text</translation>
    </message>
</context>
<context>
    <name>orv</name>
    <message>
        <source>Podpisujete: %1
</source>
        <translation>You are signing: %1
</translation>
    </message>
    <message>
        <source>Certifikát: %1
</source>
        <translation>Certificate: %1
</translation>
    </message>
    <message>
        <source>Kľúč: %1
</source>
        <translation>Key: %1
</translation>
    </message>
    <message>
        <source>Heslo ku kľúču (prázdne zruší podpisovanie): </source>
        <translation>Key password (empty cancels signing): </translation>
    </message>
    <message>
        <source>Dátum od (rrrr-mm-dd), predvolene dnes - 30 dní.</source>
        <translation>Date from (yyyy-mm-dd), by default today - 30 days.</translation>
    </message>
    <message>
        <source>Dátum do (rrrr-mm-dd), predvolene dnes.</source>
        <translation>Date to (yyyy-mm-dd), by default today.</translation>
    </message>
    <message>
        <source>Identifikátor biznis prípadu.</source>
        <translation>Business case identifier.</translation>
    </message>
    <message>
        <source>Zoznam vo formáte JSON.</source>
        <translation>List in JSON format.</translation>
    </message>
    <message>
        <source>Uložiť obsah do súboru (UTF-8 s BOM).</source>
        <translation>Save the content to a file (UTF-8 with BOM).</translation>
    </message>
    <message>
        <source>URL pre komunikáciu s ORV.</source>
        <translation>ORV communication URL.</translation>
    </message>
    <message>
        <source>Subjekt.</source>
        <translation>Subject.</translation>
    </message>
    <message>
        <source>Osoba.</source>
        <translation>Person.</translation>
    </message>
    <message>
        <source>Podpisová politika (identifikátor z inštalácie podpisovača); algoritmus sa odvodí z nej.</source>
        <translation>Signature policy (identifier from the signer installation); the algorithm is derived from it.</translation>
    </message>
    <message>
        <source>Identifikátor EPH, predvolene názov súboru po prvú bodku.</source>
        <translation>EPH identifier, by default the file name up to its first dot.</translation>
    </message>
    <message>
        <source>Verzia EPH: 0.1, 2.0 alebo 3.0.</source>
        <translation>EPH version: 0.1, 2.0 or 3.0.</translation>
    </message>
    <message>
        <source>Neplatný dátum &quot;%1&quot;, očakáva sa rrrr-mm-dd.</source>
        <translation>Invalid date &quot;%1&quot;, yyyy-mm-dd expected.</translation>
    </message>
    <message>
        <source>Voľba --%1 sa s týmto príkazom nedá použiť.</source>
        <translation>Option --%1 cannot be used with this command.</translation>
    </message>
    <message>
        <source>Príkaz %1 očakáva jeden identifikátor.</source>
        <translation>Command %1 expects one identifier.</translation>
    </message>
    <message>
        <source>Prihlasovacie údaje sú platné.</source>
        <translation>The login details are valid.</translation>
    </message>
    <message>
        <source>Príkaz %1 nemá ďalšie argumenty.</source>
        <translation>Command %1 takes no further arguments.</translation>
    </message>
    <message>
        <source>Príkaz konfiguracia nemá ďalšie argumenty.</source>
        <translation>Command konfiguracia takes no further arguments.</translation>
    </message>
    <message>
        <source>Neplatná verzia EPH &quot;%1&quot;.</source>
        <translation>Invalid EPH version &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Nastavenia sú overené a uložené.</source>
        <translation>The settings are verified and saved.</translation>
    </message>
    <message>
        <source>Príkaz podaj očakáva jeden súbor EPH.</source>
        <translation>Command podaj expects one EPH file.</translation>
    </message>
    <message>
        <source>Chýba príkaz.</source>
        <translation>No command given.</translation>
    </message>
    <message>
        <source>Príkaz check-login nemá ďalšie argumenty.</source>
        <translation>Command check-login takes no further arguments.</translation>
    </message>
    <message>
        <source>Neznámy príkaz &quot;%1&quot;.</source>
        <translation>Unknown command &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Komunikácia s ORV z príkazového riadku.

Príkazy:
  check-login              overí uložené prihlasovacie údaje
  podania [--od --do --biznis --json]     zoznam podaní
  pisomnosti [--od --do --biznis --json]  zoznam písomností
  podanie ID [--out SUBOR]                obsah podania
  pisomnost ID [--out SUBOR]              obsah písomnosti
  podaj SUBOR [--id EPHID]                podpíše a podá EPH verzie
                           z nastavení; heslo ku kľúču číta z terminálu,
                           zo vstupu alebo z premennej ORV_SIGNER_PIN
  konfiguracia [--url --subjekt --osoba --verzia --politika]
                           overí a uloží nastavenia; heslo číta zo vstupu</source>
        <translation>Communication with ORV from the command line.

Commands:
  check-login              verifies the stored login details
  podania [--od --do --biznis --json]     list of submissions
  pisomnosti [--od --do --biznis --json]  list of documents
  podanie ID [--out SUBOR]                content of a submission
  pisomnost ID [--out SUBOR]              content of a document
  podaj SUBOR [--id EPHID]                signs and submits an EPH of the version
                           in the settings; reads the key password from the terminal,
                           the input or the variable ORV_SIGNER_PIN
  konfiguracia [--url --subjekt --osoba --verzia --politika]
                           verifies and saves the settings; reads the password from the input</translation>
    </message>
    <message>
        <source>Príkaz a jeho argumenty.</source>
        <translation>The command and its arguments.</translation>
    </message>
    <message>
        <source>Pomoc: orv --help</source>
        <translation>Help: orv --help</translation>
    </message>
</context>
</TS>

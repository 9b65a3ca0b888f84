<?xml version="1.0" encoding="UTF-8"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform" xmlns:p="urn:orv-test:podaj">
  <xsl:output method="text" encoding="UTF-8"/>
  <xsl:template match="/p:EPH">
    <xsl:text>Podací hárok </xsl:text><xsl:value-of select="p:EPHID"/><xsl:text>&#10;</xsl:text>
    <xsl:for-each select="p:Zasielka">
      <xsl:text>Zásielka: </xsl:text><xsl:value-of select="p:Meno"/><xsl:text> (</xsl:text><xsl:value-of select="p:Hmotnost"/><xsl:text> g)&#10;</xsl:text>
    </xsl:for-each>
  </xsl:template>
</xsl:stylesheet>

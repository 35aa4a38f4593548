 SELECT  * 
 FROM QMAInfo 
 WHERE FClassTypeID = 1001304 
 AND Fnumber = 'C2'
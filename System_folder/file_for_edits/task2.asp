<table class="kavo-task" width="100%" border="0" cellpadding="6" cellspacing="0"
lang="ru">
<tr>
<td class="condition">
*vs1*
</td>
</tr>
<tr>
<td class="answers">
<ol type="A" class="questions">
<li class="question"><label>
*vs2*
<br>
<input type="text" name="answer" size="40" autocomplete="off">
</label></li>
<li class="question"><label>
*vs3*
<br>
<input type="text" name="answer" size="40" autocomplete="off">
</label></li>
</ol>
</td>
</tr>
</table>
<%store_count()%>
<%next()%>